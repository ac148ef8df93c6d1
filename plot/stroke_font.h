// The built-in 7 x 6 dot font of the results page and the routine that writes text with it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "plot/my_cdc.h"

struct StrokeFont {
    static constexpr int kGlyphCount = 47;
    static constexpr int kGlyphRows = 6;

    // Glyph number (0..46) of each character code 0..255; 0 is the blank glyph.
    static const std::array<uint8_t, 256> characterMap;
    // Byte r of a glyph is dot row r, row 0 at the bottom; bit 6 is the leftmost of the 7 dot
    // columns, bit 0 the rightmost.
    static const std::array<std::array<uint8_t, kGlyphRows>, kGlyphCount> glyphs;

    // The glyph drawn for a character; codes above 255 (and negative ones) draw as blanks.
    static const std::array<uint8_t, kGlyphRows>& GlyphOf(wchar_t character);
};

// Writes text with StrokeFont, each dot an n x n block of vertical strokes, n being size (at
// least 1), reduced when centring would put the text's start left of 0 or its top above 0.
// Without centring (x, y) is the left edge of the first cell and the top of the highest inked
// dot row; centreX centres the text on x, centreY moves it up by 3n. Strokes whose coordinates
// do not fit an int are left out.
void DrawStrokeText(int x, int y, const std::wstring& text, bool centreX, bool centreY, CMyCDC* dc,
                    int size);

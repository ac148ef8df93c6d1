// The banner picture at the foot of the results page and the routine that draws it.
#pragma once

#include <array>
#include <cstdint>

#include "plot/my_cdc.h"

inline constexpr int kBannerColumns = 200;
inline constexpr int kBannerRows = 21;
// 29 groups of 7 columns by 21 rows: byte 21 g + r is picture row r (0 at the bottom) of
// column group g, bit 6 its leftmost column.
inline constexpr int kBannerBytes = 609;

extern const std::array<uint8_t, kBannerBytes> kBannerPicture;

// Draws picture rows 8 to 20 scaled by whole factors, e = (right - left) / 200 units per column
// and h = (bottom - top) / 21 per row, centred in the rectangle. Every bit, set or not, moves the
// pen; a set bit draws a vertical stroke of h units. Nothing is drawn when e is 0.
void DrawBanner(int left, int right, int top, int bottom, CMyCDC* dc);

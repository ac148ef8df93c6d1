// Conversion between the user interface's wide text and the core's 8-bit (UTF-8) text.
#pragma once

#include <string>
#include <string_view>

// Wide text to UTF-8. A value that is no Unicode scalar (a surrogate, or above U+10FFFF) has no
// counterpart and becomes '?', the default character.
std::string WideToNarrow(std::wstring_view text);

// UTF-8 to wide text. A byte that does not belong to a well-formed UTF-8 sequence is taken as
// the Latin-1 character of the same value, so legacy 8-bit texts stay readable.
std::wstring NarrowToWide(std::string_view text);

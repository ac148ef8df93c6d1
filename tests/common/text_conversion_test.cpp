// Tests of the wide <-> UTF-8 conversion.
#include "common/text_conversion.h"

#include <gtest/gtest.h>


namespace {

TEST(TextConversionTest, RoundTripsFrenchAndWideCharacters) {
    const std::wstring texts[] = {L"", L"A+B*X", L"Prêt", L"sans nom - Kurvomat", L"é€𝄞"};
    for (const auto& text : texts) {
        EXPECT_EQ(NarrowToWide(WideToNarrow(text)), text);
    }
    EXPECT_EQ(WideToNarrow(L"Prêt"), "Pr\xC3\xAAt");
    EXPECT_EQ(WideToNarrow(L"€"), "\xE2\x82\xAC");
    EXPECT_EQ(WideToNarrow(L"𝄞"), "\xF0\x9D\x84\x9E");
}

TEST(TextConversionTest, ValuesWithoutCounterpartBecomeQuestionMark) {
    std::wstring text = L"a";
    text += static_cast<wchar_t>(0xD800);
    text += static_cast<wchar_t>(0x110000);
    EXPECT_EQ(WideToNarrow(text), "a??");
}

TEST(TextConversionTest, MalformedBytesReadAsLatin1) {
    // A lone 0xE9 (e acute in Latin-1), a truncated sequence, an overlong '/' and a surrogate.
    EXPECT_EQ(NarrowToWide("caf\xE9"), L"café");
    EXPECT_EQ(NarrowToWide("\xC3"), std::wstring(1, wchar_t{0xC3}));
    EXPECT_EQ(NarrowToWide("\xC0\xAF"), (std::wstring{wchar_t{0xC0}, wchar_t{0xAF}}));
    EXPECT_EQ(NarrowToWide("\xED\xA0\x80").size(), 3u);
}

}  // namespace

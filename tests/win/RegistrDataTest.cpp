// The decoder of raw registry data, on bytes made by hand.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "system/RegistrData.h"

namespace setup {
namespace {

std::vector<uint8_t> Bajty(std::initializer_list<int> b) {
    std::vector<uint8_t> v;
    for (int x : b) v.push_back(static_cast<uint8_t>(x));
    return v;
}

std::vector<uint8_t> Utf16(const std::wstring& text, bool sNulou = true) {
    std::vector<uint8_t> v;
    for (wchar_t c : text) {
        v.push_back(static_cast<uint8_t>(c & 0xFF));
        v.push_back(static_cast<uint8_t>(c >> 8));
    }
    if (sNulou) v.insert(v.end(), {0, 0});
    return v;
}

TEST(TextHodnoty, TextIsCutAtFirstNulAndTrimmedOfSpacesOnly) {
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(L"  C:\\Office\\  ")), L"C:\\Office\\");
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(std::wstring(L"abc\0def", 7))), L"abc");
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(std::wstring(L"\0abc", 4))), L"");
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(L"\tŠablony ✓\t")), L"\tŠablony ✓\t");
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(L"    ")), L"");
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(L"テンプレート")), L"テンプレート");
}

TEST(TextHodnoty, TextOfAnySizeOrShape) {
    EXPECT_EQ(TextHodnoty(TypRegSz, {}), L"");
    EXPECT_EQ(TextHodnoty(TypRegSz, Bajty({'a'})), L"");                  // half a character
    EXPECT_EQ(TextHodnoty(TypRegSz, Bajty({'a', 0, 'b'})), L"a");         // odd count
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(L"ab", false)), L"ab");          // no NUL at all
    EXPECT_EQ(TextHodnoty(TypRegSz, Bajty({'a', 0, 'b', 0, 'c'})), L"ab");
    // Bytes taken from an odd address are read all the same.
    std::vector<uint8_t> posunute = Utf16(L"xyz");
    posunute.insert(posunute.begin(), 0xEE);
    EXPECT_EQ(TextHodnoty(TypRegSz, std::span<const uint8_t>(posunute).subspan(1)), L"xyz");
    const std::wstring dlouhy(100000, L'ž');
    EXPECT_EQ(TextHodnoty(TypRegSz, Utf16(dlouhy)), dlouhy);
}

TEST(TextHodnoty, NumberOfExactlyFourBytesAsSignedDecimal) {
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({42, 0, 0, 0})), L"42");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({0, 0, 0, 0})), L"0");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({0xFF, 0xFF, 0xFF, 0xFF})), L"-1");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({0, 0, 0, 0x80})), L"-2147483648");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({0xFF, 0xFF, 0xFF, 0x7F})), L"2147483647");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({0x78, 0x56, 0x34, 0x12})), L"305419896");
}

TEST(TextHodnoty, NumberOfAnyOtherLengthIsEmpty) {
    EXPECT_EQ(TextHodnoty(TypRegDword, {}), L"");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({1})), L"");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({1, 0, 0})), L"");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({1, 0, 0, 0, 0})), L"");
    EXPECT_EQ(TextHodnoty(TypRegDword, Bajty({42, 0, 0, 0, 1, 0, 0, 0})), L"");
}

TEST(TextHodnoty, OtherTypesAreEmpty) {
    const std::vector<uint8_t> text = Utf16(L"C:\\Office");
    for (uint32_t typ : {0u /*NONE*/, 2u /*EXPAND_SZ*/, 3u /*BINARY*/, 5u /*DWORD_BIG_ENDIAN*/,
                         6u /*LINK*/, 7u /*MULTI_SZ*/, 11u /*QWORD*/, 0xFFFFFFFFu}) {
        EXPECT_EQ(TextHodnoty(typ, text), L"") << typ;
        EXPECT_EQ(TextHodnoty(typ, Bajty({42, 0, 0, 0})), L"") << typ;
    }
}

}  // namespace
}  // namespace setup

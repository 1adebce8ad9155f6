#include "index/utf8.h"
#include "printers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>

namespace quillscan {
namespace {

using testing::hexBytes;
using testing::units;

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string text;
};

const std::u16string kFffd = u"\uFFFD";

const DecodeCase kDecodeCases[] = {
    // Well-formed text, with the limits of each sequence length.
    {"empty", "", u""},
    {"ASCII", "Abc 1", u"Abc 1"},
    {"NUL", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
    {"two bytes", "\xC3\xA9", u"\u00E9"},
    {"smallest two-byte", "\xC2\x80", u"\u0080"},
    {"largest two-byte", "\xDF\xBF", u"\u07FF"},
    {"three bytes", "\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
    {"smallest three-byte", "\xE0\xA0\x80", u"\u0800"},
    {"last before the surrogates", "\xED\x9F\xBF", u"\uD7FF"},
    {"first after the surrogates", "\xEE\x80\x80", u"\uE000"},
    {"encoded U+FFFD", "\xEF\xBF\xBD", kFffd},
    {"byte order mark", "\xEF\xBB\xBFx", u"\uFEFFx"},
    {"four bytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
    {"smallest four-byte", "\xF0\x90\x80\x80", u"\U00010000"},
    {"largest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
    // Bytes that can never start a sequence: one U+FFFD each.
    {"lone continuation", "\x80", kFffd},
    {"continuation run", "\x80\xBF\x80", u"\uFFFD\uFFFD\uFFFD"},
    {"overlong two-byte C0", "\xC0\xAF", u"\uFFFD\uFFFD"},
    {"overlong two-byte C1", "\xC1\xBF", u"\uFFFD\uFFFD"},
    {"lead F5", "\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"five-byte form", "\xF8\x88\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"bytes FE FF", "\xFE\xFF", u"\uFFFD\uFFFD"},
    // A lead whose second byte is outside its range: the lead alone is the subpart.
    {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
    {"overlong four-byte, truncated", "\xF0\x80\x80", u"\uFFFD\uFFFD\uFFFD"},
    {"overlong four-byte", "\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"encoded high surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
    {"encoded low surrogate", "\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},
    {"past U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"second byte ASCII", "\xE1\x41", u"\uFFFDA"},
    {"second byte a lead", "\xC3\xC3\xA9", u"\uFFFD\u00E9"},
    // A sequence cut short after a valid start: the whole start is one subpart.
    {"third byte ASCII", "\xE1\x80\x41", u"\uFFFDA"},
    {"fourth byte ASCII", "\xF0\x9F\x98\x41", u"\uFFFDA"},
    {"fourth byte a lead", "\xF0\x9F\x98\xE4\xB8\xAD", u"\uFFFD\u4E2D"},
    {"two-byte truncated at the end", "a\xC3", u"a\uFFFD"},
    {"three-byte truncated at the end", "\xE4\xB8", kFffd},
    {"four-byte truncated at the end", "a\xF0\x9F\x98", u"a\uFFFD"},
    {"mixed run from the Unicode standard", "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
     u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"},
};

TEST(Utf8Test, DecodesAndValidates) {
    for (const DecodeCase& c : kDecodeCases) {
        EXPECT_EQ(units(utf8ToUtf16(c.bytes)), units(c.text)) << c.name;
        // Exactly the inputs that survive a round trip are well-formed.
        EXPECT_EQ(isWellFormedUtf8(c.bytes), utf16ToUtf8(c.text) == c.bytes) << c.name;
    }
}

TEST(Utf8Test, AppendKeepsExistingText) {
    std::u16string text = u"x";
    appendUtf8AsUtf16("\xC3\xA9\x80", text);
    appendUtf8AsUtf16("", text);
    appendUtf8AsUtf16(std::string(40, 'b'), text);
    EXPECT_EQ(units(text), units(u"x\u00E9\uFFFD" + std::u16string(40, u'b')));
}

// Non-ASCII bytes at every offset around the 8- and 16-byte ASCII runs, including the end.
TEST(Utf8Test, NonAsciiAtEveryOffsetOfAnAsciiRun) {
    const DecodeCase inserts[] = {
        {"two bytes", "\xC3\xA9", u"\u00E9"},
        {"three bytes", "\xE4\xB8\xAD", u"\u4E2D"},
        {"four bytes", "\xF0\x9F\x98\x80", u"\U0001F600"},
        {"lone continuation", "\x80", kFffd},
        {"truncated three-byte", "\xE4\xB8", kFffd},
    };
    constexpr std::size_t kAsciiLength = 34;
    for (const DecodeCase& insert : inserts) {
        for (std::size_t prefix = 0; prefix <= kAsciiLength; ++prefix) {
            const std::size_t suffix = kAsciiLength - prefix;
            const std::string bytes =
                std::string(prefix, 'a') + insert.bytes + std::string(suffix, 'b');
            const std::u16string text =
                std::u16string(prefix, u'a') + insert.text + std::u16string(suffix, u'b');
            EXPECT_EQ(units(utf8ToUtf16(bytes)), units(text)) << insert.name << " after " << prefix;
            EXPECT_EQ(isWellFormedUtf8(bytes), text.find(u'\uFFFD') == std::u16string::npos)
                << insert.name << " after " << prefix;
        }
    }
}

// Random strings built from pieces that often form, break or cut short a sequence. A string
// is well-formed exactly when decoding and encoding it again gives back the same bytes,
// because the decoder turns every ill-formed part into U+FFFD and the encoder writes only
// well-formed UTF-8.
TEST(Utf8Test, ValidatorAgreesWithDecoderOnRandomBytes) {
    // clang-format off
    const std::string_view pieces[] = {
        "a",    "abcdefghijk", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80", "\xEF\xBF\xBD",
        "\x80", "\x8F",        "\x90",     "\x9F",         "\xA0",             "\xBF",
        "\xC0", "\xC2",        "\xE0",     "\xED",         "\xF0",             "\xF4",
        "\xF5", "\xFF",        std::string_view("\0", 1),
    };
    // clang-format on
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pieceCount(0, 12);
    std::uniform_int_distribution<std::size_t> pieceIndex(0, std::size(pieces) - 1);
    int wellFormed = 0;
    int illFormed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes;
        for (std::size_t n = pieceCount(random); n > 0; --n) bytes += pieces[pieceIndex(random)];
        const std::u16string text = utf8ToUtf16(bytes);
        const bool roundTrips = utf16ToUtf8(text) == bytes;
        ASSERT_EQ(isWellFormedUtf8(bytes), roundTrips) << hexBytes(bytes);
        if (roundTrips) {  // the unchecked decoder for well-formed text agrees
            std::u16string unchecked;
            appendWellFormedUtf8AsUtf16(bytes, unchecked);
            ASSERT_EQ(units(unchecked), units(text)) << hexBytes(bytes);
        }
        ++(roundTrips ? wellFormed : illFormed);
    }
    // Both answers must come up often, or the property above proves little.
    EXPECT_GT(wellFormed, 1000);
    EXPECT_GT(illFormed, 1000);
}

TEST(Utf8Test, EncodesWellFormedTextAndRoundTrips) {
    EXPECT_EQ(hexBytes(utf16ToUtf8(u"a\u00E9\u4E2D\U0001F600")), "61 C3 A9 E4 B8 AD F0 9F 98 80");
    const std::u16string texts[] = {
        u"",
        std::u16string(u"\0\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFD\uFFFF", 9),
        u"\U00010000\U0001F600\U0010FFFF",
        u"\u4E2D\u6587\u6807\u9898 Title \U00020000",
    };
    for (const std::u16string& text : texts) {
        const std::string bytes = utf16ToUtf8(text);
        EXPECT_TRUE(isWellFormedUtf8(bytes)) << hexBytes(bytes);
        EXPECT_EQ(units(utf8ToUtf16(bytes)), units(text));
    }
}

TEST(Utf8Test, UnpairedSurrogatesEncodeAsReplacement) {
    constexpr char16_t kHigh = 0xD83D;
    constexpr char16_t kLow = 0xDE00;
    struct Case {
        std::u16string text;
        const char* bytes;
    };
    const Case cases[] = {
        {{kHigh}, "EF BF BD"},
        {{kLow}, "EF BF BD"},
        {{kHigh, u'a'}, "EF BF BD 61"},
        {{u'a', kHigh}, "61 EF BF BD"},
        {{kLow, kHigh}, "EF BF BD EF BF BD"},
        {{kHigh, kHigh, kLow}, "EF BF BD F0 9F 98 80"},
        {{kHigh, kLow, kLow}, "F0 9F 98 80 EF BF BD"},
    };
    for (const Case& c : cases) EXPECT_EQ(hexBytes(utf16ToUtf8(c.text)), c.bytes) << units(c.text);
}

}  // namespace
}  // namespace quillscan

#include "index/utf8_validate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "index/cpu_features.h"
#include "index/utf8.h"
#include "printers.h"

namespace quillscan {
namespace {

using testing::hexBytes;

// isWellFormedUtf8 on a copy in a buffer of exactly the input's size, so that the address
// sanitizer reports any read outside the input.
bool isWellFormedExactCopy(std::string_view bytes) {
    const auto copy = std::make_unique<char[]>(bytes.size());
    std::copy(bytes.begin(), bytes.end(), copy.get());
    return isWellFormedUtf8(std::string_view(copy.get(), bytes.size()));
}

// isWellFormedUtf8 runs the vector validator on inputs of 16 bytes and more; these tests
// compare it with the portable one, so they only mean something where it runs.
class Utf8ValidateTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!hasAvx2()) {
            GTEST_SKIP() << "no AVX2 on this processor: only the portable validator runs";
        }
    }
};

struct Piece {
    const char* name;
    std::string_view bytes;
    bool wellFormed;
};

// Each ill-formed piece stays ill-formed whatever follows it; each well-formed one is a limit
// of its sequence length that an over-strict check would reject.
const Piece kPieces[] = {
    {"overlong two-byte C0", "\xC0\xAF", false},
    {"overlong two-byte C1", "\xC1\xBF", false},
    {"overlong three-byte", "\xE0\x9F\xBF", false},
    {"overlong three-byte, smallest", "\xE0\x80\x80", false},
    {"overlong four-byte", "\xF0\x8F\xBF\xBF", false},
    {"overlong four-byte, smallest", "\xF0\x80\x80\x80", false},
    {"surrogate, first", "\xED\xA0\x80", false},
    {"surrogate, last", "\xED\xBF\xBF", false},
    {"past U+10FFFF, F4 90", "\xF4\x90\x80\x80", false},
    {"past U+10FFFF, F4 BF", "\xF4\xBF\xBF\xBF", false},
    {"F5 with continuations", "\xF5\x80\x80\x80", false},
    {"F7 with continuations", "\xF7\xBF\xBF\xBF", false},
    {"lone F5", "\xF5", false},
    {"lone F8", "\xF8", false},
    {"lone FE", "\xFE", false},
    {"lone FF", "\xFF", false},
    {"stray continuation 80", "\x80", false},
    {"stray continuation BF", "\xBF", false},
    {"truncated two-byte", "\xC3", false},
    {"truncated three-byte", "\xE4\xB8", false},
    {"truncated three-byte, lead only", "\xE4", false},
    {"truncated four-byte", "\xF0\x9F\x98", false},
    {"truncated four-byte, lead only", "\xF0", false},
    {"lead after a lead", "\xE4\xE4\xB8\xAD", false},
    {"truncated four-byte before a lead", "\xF0\x9F\x98\xE4\xB8\xAD", false},
    {"one continuation too many after two bytes", "\xC3\xA9\xA9", false},
    {"two continuations too many", "\xC3\xA9\x80\x80", false},
    {"one continuation too many after three bytes", "\xE4\xB8\xAD\x80", false},
    {"one continuation too many after four bytes", "\xF0\x9F\x98\x80\xBF", false},
    {"NUL", std::string_view("\0", 1), true},
    {"smallest two-byte", "\xC2\x80", true},
    {"largest two-byte", "\xDF\xBF", true},
    {"smallest three-byte", "\xE0\xA0\x80", true},
    {"last before the surrogates", "\xED\x9F\xBF", true},
    {"first after the surrogates", "\xEE\x80\x80", true},
    {"largest three-byte", "\xEF\xBF\xBF", true},
    {"smallest four-byte", "\xF0\x90\x80\x80", true},
    {"largest four-byte below F4", "\xF3\xBF\xBF\xBF", true},
    {"largest code point", "\xF4\x8F\xBF\xBF", true},
};

// `length` bytes of well-formed text: Chinese characters (three bytes each), or ASCII.
std::string filler(std::size_t length, bool chinese) {
    if (!chinese) return std::string(length, 'a');
    std::string text;
    for (std::size_t i = 0; i < length / 3; ++i) text += "\xE4\xB8\xAD";  // U+4E2D
    return text + std::string(length % 3, 'x');
}

// Every piece at every offset 0..130, so that each crosses the 16-, 32- and 128-byte
// boundaries of the vector code, followed by nothing (the end of the input), by ASCII or by
// Chinese. The ASCII is long enough to fill a 128-byte run, which the vector code skips.
TEST_F(Utf8ValidateTest, EveryKindOfErrorAtEveryOffset) {
    for (const bool chineseContext : {false, true}) {
        for (const std::string& suffix : {std::string(), filler(260, false), filler(45, true)}) {
            for (const Piece& piece : kPieces) {
                for (std::size_t offset = 0; offset <= 130; ++offset) {
                    const std::string bytes =
                        filler(offset, chineseContext) + std::string(piece.bytes) + suffix;
                    EXPECT_EQ(isWellFormedExactCopy(bytes), piece.wellFormed)
                        << piece.name << " at " << offset << ": " << hexBytes(bytes);
                    EXPECT_EQ(detail::isWellFormedUtf8Scalar(bytes), piece.wellFormed)
                        << piece.name << " at " << offset << ": " << hexBytes(bytes);
                }
            }
        }
    }
}

// Random strings of 0..300 bytes, mostly well-formed characters with stray bytes mixed in at
// a rate that varies from string to string, cut to a random length (which may cut the last
// character short). The stray bytes are the leads and continuations whose limits matter.
TEST_F(Utf8ValidateTest, AgreesWithPortableValidatorOnRandomStrings) {
    // clang-format off
    const std::string_view characters[] = {
        "a", "Z", "0", " ", "\x7F", std::string_view("\0", 1),
        "\xC2\x80", "\xC3\xA9", "\xDF\xBF", "\xE0\xA0\x80", "\xE4\xB8\xAD", "\xE6\x96\x87",
        "\xED\x9F\xBF", "\xEE\x80\x80", "\xEF\xBF\xBF", "\xF0\x90\x80\x80", "\xF0\x9F\x98\x80",
        "\xF3\xBF\xBF\xBF", "\xF4\x8F\xBF\xBF",
    };
    const unsigned char strayBytes[] = {
        0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF,
        0xE0, 0xE1, 0xED, 0xEF, 0xF0, 0xF1, 0xF4, 0xF5, 0xF8, 0xFF,
    };
    // clang-format on
    const double strayRates[] = {0.0, 0.001, 0.01, 0.05, 0.3};
    std::mt19937 random(20240612);
    std::uniform_int_distribution<std::size_t> lengths(0, 300);
    std::uniform_int_distribution<std::size_t> characterIndex(0, std::size(characters) - 1);
    std::uniform_int_distribution<std::size_t> strayIndex(0, std::size(strayBytes) - 1);
    std::uniform_int_distribution<std::size_t> rateIndex(0, std::size(strayRates) - 1);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    int wellFormed = 0;
    int illFormed = 0;
    for (int round = 0; round < 20000; ++round) {
        const std::size_t length = lengths(random);
        const double strayRate = strayRates[rateIndex(random)];
        std::string bytes;
        while (bytes.size() < length) {
            if (chance(random) < strayRate) {
                bytes += static_cast<char>(strayBytes[strayIndex(random)]);
            } else {
                bytes += characters[characterIndex(random)];
            }
        }
        bytes.resize(length);
        const bool expected = detail::isWellFormedUtf8Scalar(bytes);
        ASSERT_EQ(isWellFormedExactCopy(bytes), expected) << hexBytes(bytes);
        ++(expected ? wellFormed : illFormed);
    }
    // Both answers must come up often, or the comparison proves little.
    EXPECT_GT(wellFormed, 3000);
    EXPECT_GT(illFormed, 3000);
}

// Long text of Chinese, emoji and ASCII runs, as the search validates in large blocks: it is
// well-formed, and stays so only until one byte is damaged or the end is cut off.
TEST_F(Utf8ValidateTest, LongChineseAndEmojiText) {
    const std::string_view phrases[] = {
        "\xE4\xB8\xAD\xE6\x96\x87\xE6\xA0\x87\xE9\xA2\x98",  // 中文标题
        "\xF0\x9F\x98\x80\xF0\x9F\x8E\x89",                  // two emoji
        " Windows 10 ",
        "\xE6\x95\x99\xE7\xA8\x8B\xEF\xBC\x81",  // 教程！
        "\xC3\xA9t\xC3\xA9 ",
        "https://bbs.example.com/thread-170447-4-1.html\n",
    };
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> phraseIndex(0, std::size(phrases) - 1);
    std::string text;
    while (text.size() < 300'000) text += phrases[phraseIndex(random)];
    text += "\xF0\x9F\x98\x80";  // ends with a four-byte sequence
    EXPECT_TRUE(isWellFormedUtf8(text));
    EXPECT_TRUE(detail::isWellFormedUtf8Scalar(text));

    for (std::size_t cut = 1; cut <= 3; ++cut) {
        EXPECT_FALSE(isWellFormedUtf8(std::string_view(text).substr(0, text.size() - cut)))
            << "last " << cut << " bytes cut off";
    }
    for (std::size_t position = 0; position < text.size(); position += 4093) {
        for (const char damage : {'\x80', '\xFF', '\xE4'}) {
            std::string damaged = text;
            damaged[position] = damage;
            EXPECT_EQ(isWellFormedUtf8(damaged), detail::isWellFormedUtf8Scalar(damaged))
                << "byte " << position << " set to " << hexBytes(std::string(1, damage));
        }
    }
}

}  // namespace
}  // namespace quillscan

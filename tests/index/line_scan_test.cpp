#include <gtest/gtest.h>

#include <random>
#include <string>

#include "index/byte_pattern.h"
#include "index/line_scan.h"

namespace quillscan {
namespace {

using namespace std::string_literals;

std::size_t plainCountLineEnds(std::string_view bytes) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool pairedLf = bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r';
        if (isLineTerminator(bytes[i]) && !pairedLf) ++count;
    }
    return count;
}

bool plainTerminatorsStandAlone(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!isLineTerminator(bytes[i])) continue;
        for (std::size_t back = 1; back <= 3 && back <= i; ++back) {
            const auto lead = static_cast<unsigned char>(bytes[i - back]);
            const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            if (static_cast<int>(back) < length) return false;
        }
    }
    return true;
}

std::size_t plainFind(std::string_view text, std::string_view lowered, std::size_t from) {
    for (std::size_t at = from; at + lowered.size() <= text.size(); ++at) {
        bool same = true;
        for (std::size_t i = 0; i < lowered.size() && same; ++i) {
            const char byte = text[at + i];
            same = (byte >= 'A' && byte <= 'Z' ? byte + 32 : byte) == lowered[i];
        }
        if (same) return at;
    }
    return std::string_view::npos;
}

// Random texts put terminators, CR LF pairs and pattern bytes on every side of the wide
// blocks' edges; the wide scans must agree with plain loops everywhere.
TEST(LineScan, WideScansAgreeWithPlainLoops) {
    const std::string alphabet = "aAbB \r\n\0\xE7\xA0\xB4@`{[aaaaaaaaaaaa\xC3\xF0\xF8"s;
    const std::string patterns[] = {"a", "ab", "b a", "\xE7\xA0\xB4", "a\xE7", "@", "`", "ba@a"};
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 200, ' ');
        for (char& byte : text) byte = alphabet[random() % alphabet.size()];
        ASSERT_EQ(countLineEnds(text), plainCountLineEnds(text)) << round;
        const LineRunShape shape = inspectLineRun(text);
        ASSERT_EQ(shape.lineEnds, plainCountLineEnds(text)) << round;
        ASSERT_EQ(shape.terminatorsStandAlone, plainTerminatorsStandAlone(text)) << round;

        std::size_t plainTerminator = 0;
        while (plainTerminator < text.size() && !isLineTerminator(text[plainTerminator]))
            ++plainTerminator;
        ASSERT_EQ(findLineTerminator(text), plainTerminator) << round;

        for (const std::string& pattern : patterns) {
            const std::size_t from = text.empty() ? 0 : random() % text.size();
            ASSERT_EQ(BytePattern(pattern).findIn(text, from), plainFind(text, pattern, from))
                << round << " '" << pattern << "'";
        }
    }
}

TEST(LineScan, LetterCasesMatchButNeighbouringBytesDoNot) {
    const BytePattern pattern("python");
    EXPECT_EQ(pattern.findIn("xx PyThOn"), 3u);
    EXPECT_EQ(pattern.findIn("PYTHON"), 0u);
    EXPECT_EQ(pattern.findIn("pYTHO\xEE"), std::string_view::npos);   // 'n' with the top bit set
    EXPECT_EQ(BytePattern("@").findIn("`"), std::string_view::npos);  // '@' | 0x20 == '`'
    EXPECT_EQ(BytePattern("[").findIn("{"), std::string_view::npos);
}

TEST(LineScan, NextLineStartTakesCrLfWhole) {
    EXPECT_EQ(nextLineStart("ab\r\ncd", 0), 4u);
    EXPECT_EQ(nextLineStart("ab\rcd", 1), 3u);
    EXPECT_EQ(nextLineStart("ab\n\ncd", 0), 3u);
    EXPECT_EQ(nextLineStart("ab"s + '\0' + "\n", 0), 3u);
}

}  // namespace
}  // namespace quillscan

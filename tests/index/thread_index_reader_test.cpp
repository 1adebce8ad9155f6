#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "index/thread_index_reader.h"
#include "printers.h"
#include "reference_reader.h"
#include "temp_dir.h"

namespace quillscan {
namespace {

using testing::readAllEntries;
using testing::referenceEntries;
using testing::TempDir;
using namespace std::string_literals;

struct ReaderCase {
    const char* name;
    std::string bytes;
    std::vector<ThreadEntry> entries;
};

const std::vector<ReaderCase>& readerCases() {
    static const std::vector<ReaderCase> cases = {
        {"empty file", "", {}},
        {"LF without final terminator", "a\nb", {{u"a", u"b"}}},
        {"CR LF", "a\r\nb\r\n", {{u"a", u"b"}}},
        {"lone CR, also as last byte", "a\rb\r", {{u"a", u"b"}}},
        {"CR CR gives an empty line", "a\r\rb", {{u"a", u""}, {u"b", u""}}},
        {"odd line count", "t1\nl1\nt2\n", {{u"t1", u"l1"}, {u"t2", u""}}},
        {"trailing empty line", "t1\nl1\n\n", {{u"t1", u"l1"}, {u"", u""}}},
        {"CR then LF then CR LF", "a\r\n\r\nb", {{u"a", u""}, {u"b", u""}}},
        {"byte-order mark kept", "\xEF\xBB\xBFtitle\nlink", {{u"\uFEFFtitle", u"link"}}},
        {"zero byte ends a line", "ab\0cd\n"s, {{u"ab", u"cd"}}},
        {"zero byte then LF are two terminators", "a\0\nb"s, {{u"a", u""}, {u"b", u""}}},
        {"stray continuation byte reads as ?", "x\x80y\nl", {{u"x?y", u"l"}}},
        {"F8..FF lead reads as ?", "\xF8\xFF\nl", {{u"??", u"l"}}},
        {"Chinese and emoji",
         "\xE7\xA0\xB4\xE8\xA7\xA3 \xF0\x9F\x98\x80\nhttps://x/1",
         {{u"破解 😀", u"https://x/1"}}},
        {"lead byte swallows LF", "a\xC3\nb\nc", {{u"a\uFFFD\nb", u"c"}}},
        {"lead byte swallows CR of CR LF", "a\xC3\r\nb", {{u"a\uFFFD\r", u"b"}}},
        {"swallowed zero byte loses the rest of the line", "a\xC3\0bc\nl"s, {{u"a\uFFFD", u"l"}}},
        {"three-byte lead swallows zero and LF", "\xE4\0\nx\ny"s, {{u"\uFFFD", u"y"}}},
        {"character cut off by the end of the file", "t\nab\xE4\xB8", {{u"t", u"ab"}}},
        {"cut-off character alone", "\xF0\x9F", {{u"", u""}}},
        {"ill-formed run gives U+FFFD",
         "\xC0\xAF\xED\xA0\x80z\nl",
         {{u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDz", u"l"}}},
        {"lead with wrong continuation keeps the ASCII", "\xE4\x41\x42\nl", {{u"\uFFFDAB", u"l"}}},
        {"only zero bytes", "\0\0\0"s, {{u"", u""}, {u"", u""}}},
    };
    return cases;
}

class ReaderTable : public ::testing::TestWithParam<std::size_t> {};

TEST_P(ReaderTable, EveryCaseReadsItsEntries) {
    const TempDir dir;
    for (const ReaderCase& c : readerCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(readAllEntries(dir.write("threads.db5", c.bytes), GetParam()), c.entries);
        EXPECT_EQ(referenceEntries(c.bytes), c.entries);
    }
}

// Small buffers put every line across refills, with CR and LF on both sides of the edge.
INSTANTIATE_TEST_SUITE_P(BufferSizes, ReaderTable, ::testing::Values(16, 17, 31, 4096));

TEST(ThreadIndexReader, AtEndAfterLastEntryAndMissingLinesReadEmpty) {
    const TempDir dir;
    ThreadIndexReader reader;
    reader.open(dir.write("threads.db5", "a\r\nb\r\n"));
    ASSERT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.readEntry(), (ThreadEntry{u"a", u"b"}));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readEntry(), (ThreadEntry{}));
}

TEST(ThreadIndexReader, LineLongerThanTheBufferIsReadWhole) {
    const TempDir dir;
    const std::string title(100000, 'x');
    const std::string link = "\xE7\xA0\xB4" + std::string(5000, 'y');
    const auto entries = readAllEntries(dir.write("threads.db5", title + "\r" + link), 16);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].title.size(), title.size());
    EXPECT_EQ(entries[0].link.size(), 5001u);
}

// Random files over an alphabet rich in terminators, lead bytes and continuation bytes: the
// fast reader gives exactly the reference reader's entries at every buffer size.
TEST(ThreadIndexReader, AgreesWithReferenceOnRandomBytes) {
    const std::string alphabet = "ab\n\r\0\x80\xBF\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\xFF\xED\xA0"s;
    std::mt19937 random(20261211);
    const TempDir dir;
    for (int round = 0; round < 400; ++round) {
        std::string bytes(random() % 200, ' ');
        for (char& byte : bytes) {
            byte = (random() % 4 == 0) ? static_cast<char>(random())
                                       : alphabet[random() % alphabet.size()];
        }
        const auto file = dir.write("threads.db5", bytes);
        const auto expected = referenceEntries(bytes);
        for (std::size_t bufferSize : {16, 23, 4096}) {
            ASSERT_EQ(readAllEntries(file, bufferSize), expected) << "round " << round;
        }
    }
}

}  // namespace
}  // namespace quillscan

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "index/title_search.h"
#include "printers.h"
#include "recording_view.h"
#include "reference_reader.h"
#include "temp_dir.h"

namespace quillscan {
namespace {

using testing::RecordingView;
using testing::TempDir;
using Transcript = std::vector<std::string>;

const char* const kIndex =
    "Python 3.12 \xE5\x85\xA5\xE9\x97\xA8\xE6\x95\x99\xE7\xA8\x8B\r\n"  // 入门教程
    "https://bbs.example.com/thread-1\r\n"
    "xabcx\r\n"
    "https://bbs.example.com/abc-link\r\n"
    "\r\n"
    "https://bbs.example.com/empty-title\r\n"
    "XABCX tools\r\n"
    "https://bbs.example.com/thread-3\r\n"
    "python tail without link\r\n";

class TitleSearchTest : public ::testing::Test {
protected:
    TempDir dir;
    TitleSearch search{dir.write("threads.db5", kIndex)};
    RecordingView view;
};

TEST_F(TitleSearchTest, MatchShowsRowsInFileOrderBetweenStatusAndCount) {
    search.runSearch(u"  ABC  ", view);
    EXPECT_EQ(view.calls, (Transcript{
                              R"(showStatus(0,128,0, ""))",
                              "setSearchEnabled(false)",
                              "clearRows()",
                              R"(appendRow("xabcx", "https://bbs.example.com/abc-link"))",
                              R"(appendRow("XABCX tools", "https://bbs.example.com/thread-3"))",
                              "setSearchEnabled(true)",
                              "rowCount()",
                              R"(showStatus(0,128,0, "共搜索到: 2 个结果。"))",
                          }));
}

TEST_F(TitleSearchTest, EmptyQueryOnlyShowsTheRedMessage) {
    search.runSearch(u"python", view);
    view.calls.clear();
    search.runSearch(u"   ", view);
    EXPECT_EQ(view.calls, (Transcript{R"(showStatus(255,0,0, "请输入搜索内容"))"}));
    EXPECT_EQ(view.rows.size(), 2u) << "the previous results stay";
}

TEST_F(TitleSearchTest, QueryIsMatchedOnTitlesOnly) {
    const struct {
        const char16_t* query;
        std::vector<ThreadEntry> rows;
    } cases[] = {
        {u"PYTHON",
         {{u"Python 3.12 入门教程", u"https://bbs.example.com/thread-1"},
          {u"python tail without link", u""}}},
        {u"教程", {{u"Python 3.12 入门教程", u"https://bbs.example.com/thread-1"}}},
        {u"thread", {}},       // only in links
        {u"empty-title", {}},  // the link of an empty title
        {u"\t", {}},           // only U+0020 is trimmed
        {u"x t", {{u"XABCX tools", u"https://bbs.example.com/thread-3"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf16ToUtf8(c.query));
        search.runSearch(c.query, view);
        EXPECT_EQ(view.rows, c.rows);
        EXPECT_EQ(view.calls.back(), R"(showStatus(0,128,0, "共搜索到: )" +
                                         std::to_string(c.rows.size()) + R"( 个结果。"))");
    }
}

TEST_F(TitleSearchTest, SecondSearchReplacesTheFirstRows) {
    search.runSearch(u"abc", view);
    const auto first = view.rows;
    search.runSearch(u"abc", view);
    EXPECT_EQ(view.rows, first);
}

// The lower-case mapping is applied unit by unit and is no case folding.
TEST(TitleSearchUnicode, CaseRules) {
    const struct {
        const char16_t* title;
        const char16_t* query;
        bool matches;
    } cases[] = {
        {u"ΣΟΦΊΑ", u"σοφία", true},
        {u"λόγος", u"ΛΌΓΟΣ", false},  // Σ lowers to σ, never to ς
        {u"straße", u"STRASSE", false},
        {u"ſtar", u"star", false},    // long s stays
        {u"\u212Aey", u"key", true},  // Kelvin sign lowers to k
        {u"KEY", u"\u212Aey", true},
        {u"\u0130stanbul", u"istanbul", true},  // İ lowers to i
        {u"istanbul", u"\u0130STANBUL", true},
        {u"\U00010400", u"\U00010428", false},  // Deseret: surrogates are not mapped
        {u"a\U00010400b", u"\U00010400B", true},
        {u"Ärger", u"äRGER", true},
        {u"ÅNGSTRÖM", u"\u212Bngström", true},  // Angstrom sign lowers to å
        {u"破解版", u"破解", true},
        {u"破解版", u"解破", false},
        {u"\uFF21\uFF22", u"\uFF41\uFF42", true},  // full-width letters have their own cases
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf16ToUtf8(c.title) + " / " + utf16ToUtf8(c.query));
        const TempDir dir;
        const TitleSearch search(dir.write("threads.db5", utf16ToUtf8(c.title) + "\nlink\n"));
        RecordingView view;
        search.runSearch(c.query, view);
        EXPECT_EQ(view.rows.size(), c.matches ? 1u : 0u);
    }
}

// Every road of the search (runs of lines matched in bulk, single lines by bytes or in UTF-16)
// must give the plain rule's rows, with runs cut at every place by small buffers.
TEST(TitleSearchUnicode, AgreesWithReferenceOnRandomFilesAndQueries) {
    // Well-formed pieces first; half of the files use only those, so runs of lines form.
    const std::vector<std::string> pieces = {"a",
                                             "B",
                                             "k",
                                             "K",
                                             "i",
                                             "I",
                                             "\xE2\x84\xAA",
                                             "\xC4\xB0",
                                             "\xC3\xA9",
                                             "\xC3\x89",
                                             "\xE7\xA0\xB4",
                                             "\xF0\x90\x90\x80",
                                             "\xF0\x90\x90\xA8",
                                             "\n",
                                             "\r",
                                             "\r\n",
                                             std::string(1, '\0'),
                                             " ",
                                             "?",
                                             "\xEF\xBF\xBD",
                                             "\x80",
                                             "\xC3",
                                             "\xE4\xB8"};
    const std::size_t wellFormedPieces = pieces.size() - 3;
    const std::vector<std::u16string> queries = {
        u"a",  u"ab", u"K",          u"ki",     u"\u212A", u"\u0130", u"i",       u"é",  u"É",
        u"破", u"?",  u"\U00010400", u"\xD801", u"\xDC00", u"\uFFFD", u"a\uFFFD", u"k?", u"é破"};
    std::mt19937 random(7);
    const TempDir dir;
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const std::size_t choices = round % 2 == 0 ? wellFormedPieces : pieces.size();
        for (int n = static_cast<int>(random() % 80); n > 0; --n)
            bytes += pieces[random() % choices];
        const auto file = dir.write("threads.db5", bytes);
        for (const std::u16string& query : queries) {
            const auto expected = testing::referenceMatches(bytes, query);
            for (std::size_t bufferSize : {16, 40, 4096}) {
                RecordingView view;
                TitleSearch(file, bufferSize).runSearch(query, view);
                ASSERT_EQ(view.rows, expected) << "round " << round << ", query "
                                               << utf16ToUtf8(query) << ", buffer " << bufferSize;
            }
        }
    }
}

}  // namespace
}  // namespace quillscan

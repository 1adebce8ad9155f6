// Index files no index writer would produce: a giant line, nothing but zero bytes, random bytes,
// and a file that changes while a search reads it. Each gives a defined result.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "index/thread_index_reader.h"
#include "index/title_search.h"
#include "index/utf8.h"
#include "printers.h"
#include "reference_reader.h"
#include "temp_dir.h"

namespace quillscan {
namespace {

using testing::readAllEntries;
using testing::referenceEntries;
using testing::referenceMatches;
using testing::TempDir;
namespace fs = std::filesystem;

constexpr std::size_t kSmallBufferSize = 16;

// Names the first difference only: these lists can hold thousands of rows, or rows of megabytes.
::testing::AssertionResult sameEntries(const std::vector<ThreadEntry>& actual,
                                       const std::vector<ThreadEntry>& expected) {
    for (std::size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        if (actual[i] == expected[i]) continue;
        auto failure = ::testing::AssertionFailure() << "entries differ first at " << i;
        if (actual[i].title.size() + actual[i].link.size() < 1000) {
            failure << ": " << ::testing::PrintToString(actual[i]) << " instead of "
                    << ::testing::PrintToString(expected[i]);
        }
        return failure;
    }
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure()
               << actual.size() << " entries instead of " << expected.size();
    }
    return ::testing::AssertionSuccess();
}

// Keeps the rows and the last status only: rows here can be tens of megabytes long.
class RowsView : public ResultView {
public:
    std::vector<ThreadEntry> rows;
    StatusLine status;

    void showStatus(const StatusLine& line) override { status = line; }
    void setSearchEnabled(bool) override {}
    void clearRows() override { rows.clear(); }
    void appendRow(const ThreadEntry& entry) override { rows.push_back(entry); }
    std::size_t rowCount() const override { return rows.size(); }
};

StatusLine countStatus(std::size_t rows) {
    return {countLine(rows), kDoneColor};
}

TEST(HostileInput, ThirtyMegabyteLineWithoutTerminator) {
    constexpr std::size_t kLength = 30'000'000;
    const TempDir dir;
    // The file ends inside 中 (E4 B8 AD): the cut character is dropped.
    const fs::path index = dir.write("threads.db5", std::string(kLength, 'a') + "end\xE4\xB8");
    const ThreadEntry whole{std::u16string(kLength, u'a') + u"end", u""};

    EXPECT_TRUE(sameEntries(readAllEntries(index, kSmallBufferSize), {whole}));

    const struct {
        std::u16string_view query;
        bool found;
    } cases[] = {
        {u"aaa", true},
        {u"AEND", true},        // the very end of the line
        {u"end\uFFFD", false},  // nothing is left of the cut character
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(utf16ToUtf8(c.query));
        RowsView view;
        TitleSearch(index).runSearch(c.query, view);
        EXPECT_TRUE(
            sameEntries(view.rows, c.found ? std::vector{whole} : std::vector<ThreadEntry>()));
        EXPECT_EQ(view.status, countStatus(c.found ? 1 : 0));
    }
}

TEST(HostileInput, OnlyZeroBytes) {
    const TempDir dir;
    const fs::path index = dir.write("threads.db5", std::string(1'000'000, '\0'));

    const std::vector<ThreadEntry> entries =
        readAllEntries(index, ThreadIndexReader::kDefaultBufferSize);
    EXPECT_TRUE(sameEntries(entries, std::vector<ThreadEntry>(500'000)));

    for (const std::u16string_view query :
         {std::u16string_view(u"a"), std::u16string_view(u"\0", 1)}) {
        RowsView view;
        TitleSearch(index).runSearch(query, view);
        EXPECT_TRUE(view.rows.empty());
        EXPECT_EQ(view.status, countStatus(0));
    }
}

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes(size, '\0');
    for (char& b : bytes) b = static_cast<char>(byte(random));
    return bytes;
}

// Long clean stretches (well-formed lines of words, CJK, emoji and the characters that lower
// into ASCII) between short broken ones (stray bytes, cut characters, zero bytes), so that
// searches meet runs of well-formed lines longer than their buffer as well as broken lines.
std::string randomText(std::size_t size, unsigned seed) {
    constexpr std::string_view kHan = "\xE4\xB8\xAD", kEmoji = "\xF0\x9F\x98\x80",
                               kKelvin = "\xE2\x84\xAA", kDottedI = "\xC4\xB0";
    static const std::string_view kClean[] = {"a",      "b",  "K",    "k",    "i",    "I",
                                              " ",      "ab", "link", kHan,   kEmoji, kKelvin,
                                              kDottedI, "\n", "\n",   "\r\n", "\r"};
    static const std::string_view kBroken[] = {
        std::string_view("\0", 1), "\x80", "\xFF", "\xE4\xB8", "\xC3", "\xED\xA0\x80"};
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> clean(0, std::size(kClean) - 1);
    std::uniform_int_distribution<std::size_t> broken(0, std::size(kBroken) - 1);
    std::uniform_int_distribution<std::size_t> cleanStretch(100'000, 500'000);
    std::uniform_int_distribution<std::size_t> brokenStretch(1'000, 10'000);
    std::uniform_int_distribution<int> percent(0, 99);
    std::string text;
    for (bool breaks = false; text.size() < size; breaks = !breaks) {
        const std::size_t end = text.size() + (breaks ? brokenStretch : cleanStretch)(random);
        while (text.size() < end) {
            text +=
                breaks && percent(random) < 10 ? kBroken[broken(random)] : kClean[clean(random)];
        }
    }
    return text;
}

TEST(HostileInput, RandomBytesMatchTheReference) {
    const TempDir dir;
    const std::u16string_view queries[] = {
        u"a",
        u"K",
        u"i",
        u"?",
        u"\u4E2D",
        u"\uFFFD",
        std::u16string_view(u"\xD83D", 1),  // a lone high surrogate
    };
    for (const std::string& bytes : {randomBytes(2'000'000, 1), randomText(1'000'000, 2)}) {
        const fs::path index = dir.write("threads.db5", bytes);
        const std::vector<ThreadEntry> entries = referenceEntries(bytes);
        for (std::size_t bufferSize : {kSmallBufferSize, ThreadIndexReader::kDefaultBufferSize}) {
            EXPECT_TRUE(sameEntries(readAllEntries(index, bufferSize), entries));
        }
        for (const std::u16string_view query : queries) {
            SCOPED_TRACE(utf16ToUtf8(query));
            const std::vector<ThreadEntry> expected = referenceMatches(bytes, query);
            for (std::size_t bufferSize : {kSmallBufferSize, TitleSearch::kDefaultBufferSize}) {
                RowsView view;
                TitleSearch(index, bufferSize).runSearch(query, view);
                EXPECT_TRUE(sameEntries(view.rows, expected)) << "buffer " << bufferSize;
            }
        }
    }
}

// Runs `change` on the index file when the first row arrives, while the search still reads it.
class FileChangingView : public RowsView {
public:
    explicit FileChangingView(std::function<void()> change) : change_(std::move(change)) {}

    void appendRow(const ThreadEntry& entry) override {
        if (change_) std::exchange(change_, nullptr)();
        RowsView::appendRow(entry);
    }

private:
    std::function<void()> change_;
};

// Records "hit N" (every third, from the first) and "miss N", each with its link.
std::string records(int from, int to) {
    std::string text;
    for (int i = from; i < to; ++i) {
        text += (i % 3 == 0 ? "hit " : "miss ") + std::to_string(i) + "\nhttps://x.example/" +
                std::to_string(i) + "\n";
    }
    return text;
}

// The search ends at whichever end its reader meets: the file as it was when the reader had
// everything it needed, or the file as changed.
void expectSearchEndsAtAnEnd(const fs::path& index, const std::function<void()>& change,
                             std::string_view before, std::string_view after) {
    const std::vector<ThreadEntry> atOldEnd = referenceMatches(before, u"hit");
    const std::vector<ThreadEntry> atNewEnd = referenceMatches(after, u"hit");
    for (std::size_t bufferSize : {kSmallBufferSize, TitleSearch::kDefaultBufferSize}) {
        SCOPED_TRACE(bufferSize);
        std::ofstream(index, std::ios::binary | std::ios::trunc) << before;
        FileChangingView view(change);
        TitleSearch(index, bufferSize).runSearch(u"hit", view);
        EXPECT_TRUE(sameEntries(view.rows, atNewEnd) || sameEntries(view.rows, atOldEnd))
            << view.rows.size() << " rows; " << atNewEnd.size() << " at the new end, "
            << atOldEnd.size() << " at the old one";
        EXPECT_EQ(view.status, countStatus(view.rows.size()));
    }
}

TEST(HostileInput, FileGrowingDuringTheSearch) {
    const TempDir dir;
    const fs::path index = dir.path() / "threads.db5";
    const std::string original = records(0, 60'000);
    const std::string appended = records(60'000, 61'000);
    expectSearchEndsAtAnEnd(
        index, [&] { std::ofstream(index, std::ios::binary | std::ios::app) << appended; },
        original, original + appended);
}

TEST(HostileInput, FileTruncatedDuringTheSearch) {
    const TempDir dir;
    const fs::path index = dir.path() / "threads.db5";
    const std::string kept = records(0, 30'000);
    const std::string original = kept + records(30'000, 60'000);
    expectSearchEndsAtAnEnd(
        index, [&] { ASSERT_EQ(::truncate(index.c_str(), static_cast<off_t>(kept.size())), 0); },
        original, kept);
}

}  // namespace
}  // namespace quillscan

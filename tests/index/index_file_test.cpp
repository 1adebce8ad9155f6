#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

#include "index/title_search.h"
#include "index/utf8.h"
#include "recording_view.h"
#include "temp_dir.h"

namespace quillscan {
namespace {

using testing::readFile;
using testing::RecordingView;
using testing::TempDir;
namespace fs = std::filesystem;

const char* const kTwoThreads = "Python tips\nhttps://x/1\npython faq\nhttps://x/2\n";

std::string lastStatus(const fs::path& index, std::u16string_view query = u"python") {
    RecordingView view;
    TitleSearch(index).runSearch(query, view);
    return view.calls.back();
}

const std::string kTwoResults = R"(showStatus(0,128,0, "共搜索到: 2 个结果。"))";
const std::string kNoResults = R"(showStatus(0,128,0, "共搜索到: 0 个结果。"))";

// Makes `file` refuse opening for writing: immutable when running as root (which ignores
// permission bits), read-only permission bits otherwise.
bool makeUnwritable(const fs::path& file, bool on) {
    if (::geteuid() != 0) return ::chmod(file.c_str(), on ? 0444 : 0644) == 0;
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    ::close(fd);
    return done;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(IndexFile, MissingFileIsCreatedEmptyAndSearchedAsEmpty) {
    const TempDir dir;
    const fs::path index = dir.path() / "threads.db5";
    EXPECT_EQ(lastStatus(index), kNoResults);
    ASSERT_TRUE(fs::is_regular_file(index));
    EXPECT_EQ(fs::file_size(index), 0u);
}

TEST(IndexFile, IndexThatVanishedIsRecreatedEmptyAndNothingElse) {
    const TempDir dir;
    const fs::path index = dir.write("threads.db5", kTwoThreads);
    EXPECT_EQ(lastStatus(index), kTwoResults);
    fs::remove(index);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(lastStatus(index), kNoResults);
    EXPECT_EQ(fs::file_size(index), 0u);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"threads.db5"});
}

TEST(IndexFile, SearchesLeaveTheFileAndItsFolderAlone) {
    const TempDir dir;
    // Well-formed runs and broken lines, so that every way of reading is taken.
    using namespace std::string_literals;
    const std::string bytes =
        kTwoThreads + "Kelvin \xE2\x84\xAA\r\nl\rbroken \x80\xC3\0tail\npython"s;
    const fs::path index = dir.write("threads.db5", bytes);
    const fs::file_time_type modified = fs::last_write_time(index);
    const std::u16string_view queries[] = {u"python", u"PYTHON", u"",  u"   ",   u"absent",
                                           u"k",      u"\uFFFD", u"?", u"\u212A"};
    for (const std::u16string_view query : queries) {
        SCOPED_TRACE(utf16ToUtf8(query));
        RecordingView view;
        TitleSearch(index).runSearch(query, view);
        EXPECT_EQ(readFile(index), bytes);
        EXPECT_EQ(fs::file_size(index), bytes.size());
        EXPECT_EQ(fs::last_write_time(index), modified);
        EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"threads.db5"});
    }
}

TEST(IndexFile, FileThatCannotBeWrittenIsSearchedReadOnly) {
    const TempDir dir;
    const fs::path index = dir.write("threads.db5", kTwoThreads);
    if (!makeUnwritable(index, true)) GTEST_SKIP() << "cannot make a file unwritable here";
    const int probe = ::open(index.c_str(), O_RDWR);
    const bool writable = probe >= 0;
    if (writable) ::close(probe);
    const std::string status = lastStatus(index);
    makeUnwritable(index, false);
    ASSERT_FALSE(writable) << "the file should refuse writing";
    EXPECT_EQ(status, kTwoResults);
}

TEST(IndexFile, NamesThatAreNoRegularFileReadAsEmpty) {
    const TempDir dir;
    fs::create_directory(dir.path() / "directory");
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", dir.path() / "zero");
    for (const char* name : {"directory", "fifo", "zero"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(lastStatus(dir.path() / name), kNoResults);  // and returns: no hang
    }
    EXPECT_TRUE(fs::is_fifo(dir.path() / "fifo"));
}

TEST(IndexFile, LockHeldByAnotherOpenDoesNotStopTheSearch) {
    const TempDir dir;
    const fs::path index = dir.write("threads.db5", kTwoThreads);
    const int holder = ::open(index.c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_EQ(lastStatus(index), kTwoResults);
    ::close(holder);
}

}  // namespace
}  // namespace quillscan

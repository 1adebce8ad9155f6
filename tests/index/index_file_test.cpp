#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "index/title_search.h"
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

TEST(IndexFile, MissingFileIsCreatedEmptyAndSearchedAsEmpty) {
    const TempDir dir;
    const fs::path index = dir.path() / "threads.db5";
    EXPECT_EQ(lastStatus(index), kNoResults);
    ASSERT_TRUE(fs::is_regular_file(index));
    EXPECT_EQ(fs::file_size(index), 0u);
}

TEST(IndexFile, SearchesLeaveBytesAndModificationTimeAlone) {
    const TempDir dir;
    const fs::path index = dir.write("threads.db5", kTwoThreads);
    const fs::file_time_type before = fs::last_write_time(index);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(lastStatus(index), kTwoResults);
    EXPECT_EQ(readFile(index), kTwoThreads);
    EXPECT_EQ(fs::last_write_time(index), before);
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

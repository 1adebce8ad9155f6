#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "index/index_file.h"

namespace quillscan {

namespace {

bool isRegularFile(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
}

// Anything but a regular file (a FIFO, a device, a socket, a directory) could block a read
// forever or never end, so it is read as an empty index. Non-blocking opens keep a FIFO from
// stalling before that test.
int openRegularFile(const char* name) {
    struct stat status {};
    if (::stat(name, &status) == 0 && !S_ISREG(status.st_mode)) return -1;

    constexpr int kFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    int fd = ::open(name, O_RDWR | O_CREAT | kFlags, 0666);
    // A file the user may read but not write (read-only file or medium) is still searched.
    if (fd < 0) fd = ::open(name, O_RDONLY | kFlags);
    if (fd < 0) return -1;
    if (!isRegularFile(fd)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

IndexFile::~IndexFile() {
    close();
}

void IndexFile::open(const std::filesystem::path& path) {
    close();
    fd_ = openRegularFile(path.c_str());
    // Advisory only: another holder of the lock never makes a search wait or fail.
    if (fd_ >= 0) ::flock(fd_, LOCK_EX | LOCK_NB);
}

std::size_t IndexFile::read(char* buffer, std::size_t size) {
    if (fd_ < 0) return 0;
    ssize_t count;
    do {
        count = ::read(fd_, buffer, size);
    } while (count < 0 && errno == EINTR);
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

void IndexFile::close() {
    if (fd_ < 0) return;
    ::close(fd_);  // also releases the lock
    fd_ = -1;
}

}  // namespace quillscan

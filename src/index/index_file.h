// The operating-system side of reading the index file: open, sequential reads, close.
#pragma once

#include <cstddef>
#include <filesystem>

namespace quillscan {

// One open index file. Opening never fails from the caller's view: a name that cannot be
// read as a regular file behaves as an empty file, so every read simply reports the end.
class IndexFile {
public:
    IndexFile() = default;
    ~IndexFile();
    IndexFile(const IndexFile&) = delete;
    IndexFile& operator=(const IndexFile&) = delete;

    // Opens `path` read-write (creating it empty when it does not exist), falling back to
    // read-only when writing is refused; only regular files are read. Takes an advisory
    // exclusive lock when one can be had without waiting (on Windows, the file is opened with
    // no sharing instead). Closes any file opened before.
    void open(const std::filesystem::path& path);

    // Reads up to `size` bytes; 0 means the end of the file (a failed read counts as the end).
    std::size_t read(char* buffer, std::size_t size);

    void close();

private:
#ifdef _WIN32
    void* handle_ = nullptr;  // a Windows HANDLE; null when nothing is open
#else
    int fd_ = -1;
#endif
};

}  // namespace quillscan

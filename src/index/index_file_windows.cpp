#include <windows.h>

#include "index/index_file.h"

namespace quillscan {

namespace {

struct OpenMode {
    DWORD access;
    DWORD sharing;
    DWORD disposition;
};

// Tried in order. First read-write with no sharing, creating a missing file empty. A file the
// user may read but not write is then opened for reading, still keeping writers out; one that
// another program holds open for writing is read all the same rather than not at all.
constexpr OpenMode kOpenModes[] = {
    {GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS},
    {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING},
    {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING},
};

// Devices (CON, NUL, COM1), pipes and directories could block a read or never end, so only a
// file on disk is read.
bool isRegularFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

HANDLE openRegularFile(const wchar_t* name) {
    for (const OpenMode& mode : kOpenModes) {
        const HANDLE file = ::CreateFileW(name, mode.access, mode.sharing, nullptr,
                                          mode.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        if (isRegularFile(file)) return file;
        ::CloseHandle(file);
        return nullptr;
    }
    return nullptr;
}

}  // namespace

IndexFile::~IndexFile() {
    close();
}

void IndexFile::open(const std::filesystem::path& path) {
    close();
    handle_ = openRegularFile(path.c_str());
}

std::size_t IndexFile::read(char* buffer, std::size_t size) {
    if (handle_ == nullptr) return 0;
    // ReadFile takes a 32-bit count; callers read far less at a time.
    const DWORD wanted = size < MAXDWORD ? static_cast<DWORD>(size) : MAXDWORD;
    DWORD count = 0;
    if (!::ReadFile(handle_, buffer, wanted, &count, nullptr)) return 0;
    return count;
}

void IndexFile::close() {
    if (handle_ == nullptr) return;
    ::CloseHandle(handle_);
    handle_ = nullptr;
}

}  // namespace quillscan

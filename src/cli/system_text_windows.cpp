#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

#include "cli/system_text.h"

namespace quillscan {

namespace {

std::string toUtf8(const wchar_t* text) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string utf8(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();  // the terminating zero
    return utf8;
}

}  // namespace

// The narrow argv is in the ANSI code page; the wide command line has every character.
std::vector<std::string> utf8Arguments(int, char*[]) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide != nullptr && i < count; ++i) arguments.push_back(toUtf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

Utf8Output::Utf8Output() : previousCodePage_(::GetConsoleOutputCP()) {
    // Binary mode: the output is UTF-8 with LF on every system, also in files and pipes.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (previousCodePage_ != 0) ::SetConsoleOutputCP(CP_UTF8);
}

Utf8Output::~Utf8Output() {
    std::fflush(stdout);
    std::fflush(stderr);
    if (previousCodePage_ != 0) ::SetConsoleOutputCP(previousCodePage_);
}

}  // namespace quillscan

// Text that crosses between quillscan-search and the system: its arguments, file names and
// output, all UTF-8 inside the program whatever the system uses.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillscan {

// The command-line arguments after the program's own name, as UTF-8. On Windows they come
// from the wide command line, so text outside the ANSI code page survives.
std::vector<std::string> utf8Arguments(int argc, char* argv[]);

// A file name given as UTF-8 (on Windows, the narrow constructor would read the ANSI code page).
inline std::filesystem::path utf8Path(std::string_view name) {
    return std::u8string_view(reinterpret_cast<const char8_t*>(name.data()), name.size());
}

// While it lives, stdout and stderr pass UTF-8 bytes and LF line ends through unchanged and a
// console shows them as UTF-8; the console's code page is restored afterwards. Nothing to do
// outside Windows.
class Utf8Output {
public:
    Utf8Output();
    ~Utf8Output();
    Utf8Output(const Utf8Output&) = delete;
    Utf8Output& operator=(const Utf8Output&) = delete;

private:
    unsigned previousCodePage_ = 0;
};

}  // namespace quillscan

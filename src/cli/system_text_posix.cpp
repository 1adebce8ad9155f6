#include "cli/system_text.h"

namespace quillscan {

// The arguments are taken as the bytes given: file names need not be UTF-8 here.
std::vector<std::string> utf8Arguments(int argc, char* argv[]) {
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

Utf8Output::Utf8Output() = default;
Utf8Output::~Utf8Output() = default;

}  // namespace quillscan

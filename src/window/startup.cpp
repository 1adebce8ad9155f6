#include "window/startup.h"

#include <system_error>

namespace quillscan {

bool indexFilePresent(const std::filesystem::path& name) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(name, error));
}

}  // namespace quillscan

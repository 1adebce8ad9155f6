// What the program checks and says before it opens its window.
#pragma once

#include <filesystem>
#include <string_view>

namespace quillscan {

inline constexpr std::string_view kIndexFileName = "threads.db5";
inline constexpr std::u16string_view kMissingIndexMessage = u"当前文件夹里没有数据文件 threads.db5";

// True when a file-system entry of that name exists, of whatever kind (a dangling symbolic link
// counts); false when it is absent or its attributes cannot be read.
bool indexFilePresent(const std::filesystem::path& name = kIndexFileName);

}  // namespace quillscan

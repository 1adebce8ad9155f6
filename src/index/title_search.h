// One search request: the typed query against the titles of the index, shown through a view.
#pragma once

#include <filesystem>
#include <string_view>

#include "index/types.h"

namespace quillscan {

inline constexpr Rgb kErrorColor{255, 0, 0};
inline constexpr Rgb kDoneColor{0, 128, 0};
inline constexpr std::u16string_view kEmptyQueryMessage = u"请输入搜索内容";
inline constexpr std::u16string_view kCountPrefix = u"共搜索到: ";
inline constexpr std::u16string_view kCountSuffix = u" 个结果。";

// Searches one index file. It holds only the file's name: each request opens, reads from the
// start and closes the file, so edits to it show in the next search.
class TitleSearch {
public:
    // The reader's buffer: large enough that system calls and the per-run work of bulk matching
    // vanish beside the scan itself.
    static constexpr std::size_t kDefaultBufferSize = 256 * 1024;

    explicit TitleSearch(std::filesystem::path indexPath,
                         std::size_t bufferSize = kDefaultBufferSize);

    // Trims U+0020 from both ends of `typedText`; an empty query only shows the red message.
    // Otherwise clears the view, appends every entry whose title contains the query (ignoring
    // case) in file order, and ends with the green count line. The file is never written.
    void runSearch(std::u16string_view typedText, ResultView& view) const;

    const std::filesystem::path& indexPath() const { return indexPath_; }

private:
    std::filesystem::path indexPath_;
    std::size_t bufferSize_;
};

// "共搜索到: N 个结果。"
std::u16string countLine(std::size_t count);

}  // namespace quillscan

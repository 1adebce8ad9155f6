#include "cli/printing_view.h"

#include <string_view>

#include "cli/json.h"
#include "index/utf8.h"

namespace quillscan {

namespace {

// The buffer is written out once it holds this much.
constexpr std::size_t kWriteThreshold = std::size_t{1} << 16;

void appendJsonField(std::string& out, std::string_view name, std::u16string_view value) {
    appendJsonString(out, name);
    out += ": ";
    appendJsonString(out, utf16ToUtf8(value));
}

}  // namespace

PrintingView::PrintingView(std::FILE* out, OutputFormat format, bool printRows)
    : out_(out), format_(format), printRows_(printRows) {
    buffer_.reserve(kWriteThreshold * 2);
}

void PrintingView::showStatus(const StatusLine& status) {
    status_ = status;
}

void PrintingView::clearRows() {
    rowCount_ = 0;
}

void PrintingView::appendRow(const ThreadEntry& entry) {
    ++rowCount_;
    if (!printRows_) return;
    if (format_ == OutputFormat::kJson) {
        buffer_ += '{';
        appendJsonField(buffer_, "title", entry.title);
        buffer_ += ", ";
        appendJsonField(buffer_, "link", entry.link);
        buffer_ += "}\n";
    } else {
        buffer_ += utf16ToUtf8(entry.title);
        buffer_ += '\t';
        buffer_ += utf16ToUtf8(entry.link);
        buffer_ += '\n';
    }
    if (buffer_.size() >= kWriteThreshold) writeBuffer();
}

void PrintingView::finish() {
    appendStatusLine();
    writeBuffer();
    std::fflush(out_);
}

void PrintingView::appendStatusLine() {
    if (format_ == OutputFormat::kJson) {
        const Rgb& color = status_.color;
        buffer_ += '{';
        appendJsonField(buffer_, "status", status_.text);
        buffer_ += ", \"color\": [" + std::to_string(color.red) + ", " +
                   std::to_string(color.green) + ", " + std::to_string(color.blue) + "]}\n";
    } else {
        buffer_ += utf16ToUtf8(status_.text);
        buffer_ += '\n';
    }
}

void PrintingView::writeBuffer() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
    buffer_.clear();
}

}  // namespace quillscan

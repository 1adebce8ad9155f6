// A ResultView that prints a search's results, for the command line.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "index/types.h"

namespace quillscan {

enum class OutputFormat { kText, kJson };

// Prints each row as it arrives and, once the search is over, its last status; one line each,
// UTF-8, LF:
//   text: title<TAB>link per row, then the status text;
//   json: {"title": ..., "link": ...} per row, then {"status": ..., "color": [r, g, b]}.
// With `printRows` false the rows are only counted, never printed or kept.
// Output is gathered in a large buffer and written in big blocks: a search may print a
// million rows.
class PrintingView final : public ResultView {
public:
    PrintingView(std::FILE* out, OutputFormat format, bool printRows);
    PrintingView(const PrintingView&) = delete;
    PrintingView& operator=(const PrintingView&) = delete;

    // Only the last status is printed: a search also shows an empty one when it starts.
    void showStatus(const StatusLine& status) override;
    void setSearchEnabled(bool) override {}
    // A search clears before its first row, so there is nothing printed to take back.
    void clearRows() override;
    void appendRow(const ThreadEntry& entry) override;
    std::size_t rowCount() const override { return rowCount_; }

    // Prints the status line and writes out everything still buffered.
    void finish();

private:
    void appendStatusLine();
    void writeBuffer();

    std::FILE* out_;
    OutputFormat format_;
    bool printRows_;
    std::size_t rowCount_ = 0;
    StatusLine status_;
    std::string buffer_;
};

}  // namespace quillscan

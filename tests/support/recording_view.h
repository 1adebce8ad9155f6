// A ResultView that writes down every call, so a test can compare a whole search transcript.
#pragma once

#include <string>
#include <vector>

#include "index/types.h"
#include "index/utf8.h"

namespace quillscan::testing {

class RecordingView : public ResultView {
public:
    // rowCount is const in the interface but belongs in the transcript all the same.
    mutable std::vector<std::string> calls;
    std::vector<ThreadEntry> rows;

    void showStatus(const StatusLine& status) override {
        calls.push_back("showStatus(" + std::to_string(status.color.red) + "," +
                        std::to_string(status.color.green) + "," +
                        std::to_string(status.color.blue) + ", \"" + utf16ToUtf8(status.text) +
                        "\")");
    }
    void setSearchEnabled(bool enabled) override {
        calls.push_back(enabled ? "setSearchEnabled(true)" : "setSearchEnabled(false)");
    }
    void clearRows() override {
        calls.push_back("clearRows()");
        rows.clear();
    }
    void appendRow(const ThreadEntry& entry) override {
        calls.push_back("appendRow(\"" + utf16ToUtf8(entry.title) + "\", \"" +
                        utf16ToUtf8(entry.link) + "\")");
        rows.push_back(entry);
    }
    std::size_t rowCount() const override {
        calls.push_back("rowCount()");
        return rows.size();
    }
};

}  // namespace quillscan::testing

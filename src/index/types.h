// The values shared by the index reader, the title search and whatever shows the results.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillscan {

// One record of the index: a title line and the link line after it, decoded, without terminators.
struct ThreadEntry {
    std::u16string title;
    std::u16string link;

    bool operator==(const ThreadEntry&) const = default;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

// The status text under the search: its words and their colour.
struct StatusLine {
    std::u16string text;
    Rgb color;

    bool operator==(const StatusLine&) const = default;
};

// What a search acts on: the window, or anything else that shows or records results.
//
// Call order of one search (TitleSearch::runSearch):
//   empty query:  showStatus(red message), and nothing else;
//   otherwise:    showStatus(green, empty) -> setSearchEnabled(false) -> clearRows()
//                 -> appendRow(entry) once per match, in file order
//                 -> setSearchEnabled(true) -> rowCount() -> showStatus(green, count line).
class ResultView {
public:
    virtual ~ResultView() = default;

    virtual void showStatus(const StatusLine& status) = 0;
    virtual void setSearchEnabled(bool enabled) = 0;
    virtual void clearRows() = 0;
    virtual void appendRow(const ThreadEntry& entry) = 0;
    virtual std::size_t rowCount() const = 0;
};

}  // namespace quillscan

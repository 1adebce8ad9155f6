// Wide scans over raw index bytes: where lines end and how many end in a stretch.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillscan {

inline bool isLineTerminator(char byte) {
    return byte == '\n' || byte == '\r' || byte == '\0';
}

// Offset of the first LF, CR or zero byte at or after `from`, or bytes.size() when none.
std::size_t findLineTerminator(std::string_view bytes, std::size_t from = 0);

// The number of line ends in `bytes`, a CR directly followed by LF counting once. `bytes` must
// not start with the LF of a CR LF pair.
std::size_t countLineEnds(std::string_view bytes);

// What one pass learns of a run of lines.
struct LineRunShape {
    std::size_t lineEnds = 0;  // as countLineEnds
    // No terminator byte lies within reach of a lead byte before it (C0..FF one byte before,
    // E0..FF two, F0..FF three), so no character can swallow one: the run's lines end exactly
    // at its terminator bytes, whatever else the bytes hold.
    bool terminatorsStandAlone = true;
};

LineRunShape inspectLineRun(std::string_view bytes);

// Offset just past the terminator of the line that holds offset `at`, CR LF taken whole.
// The terminator and, after a CR, its next byte must lie inside `bytes`.
std::size_t nextLineStart(std::string_view bytes, std::size_t at);

// The same, given the offset of the line's terminator.
std::size_t lineStartAfter(std::string_view bytes, std::size_t terminator);

}  // namespace quillscan

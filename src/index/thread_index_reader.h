// Reads an index file as a sequence of title/link pairs, by the file's line and character rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "index/index_file.h"
#include "index/types.h"

namespace quillscan {

// One line's bytes as the character rules took them, before decoding. `bytes` stays valid only
// until the next read. `wellFormed` lines are well-formed UTF-8 without a zero byte, so they
// decode exactly and may be matched byte for byte.
struct RawLine {
    std::string_view bytes;
    bool wellFormed = true;
};

// Decodes a line: its bytes up to the first zero byte, ill-formed runs as U+FFFD.
std::u16string decodeLine(RawLine line);

// A line cut from a run of lines whose terminators no character swallows, as readLine() would
// give it; `scratch` holds the bytes when the character rules change them.
RawLine lineRunLine(std::string_view lineBytes, std::string& scratch);

// Line rules: a line ends at LF, CR LF, a lone CR, a zero byte, or the end of the file.
// Character rules: a character is read whole before the end test, its length taken from its
// first byte (0xxxxxxx 1, 110xxxxx 2, 1110xxxx 3, 11110xxx 4) and its following bytes taken as
// they come, so a terminator inside it does not end the line; any other first byte reads as
// '?'; a character cut off by the end of the file is dropped.
//
// Lines are found by a wide scan for terminators; only a line that is not plain, well-formed
// UTF-8 is read again character by character.
class ThreadIndexReader {
public:
    static constexpr std::size_t kDefaultBufferSize = 4096;

    explicit ThreadIndexReader(std::size_t bufferSize = kDefaultBufferSize);

    void open(const std::filesystem::path& path);
    void close();

    // True when no byte is left; looks ahead without consuming.
    bool atEnd();

    // The next two lines as title and link; a line past the end of the file is empty.
    ThreadEntry readEntry();

    // The next line's raw bytes (empty at the end of the file).
    RawLine readLine();

    // Whole lines in bulk: the buffered run of complete lines from the next line on, when no
    // character in it reaches over a terminator, so that its lines end exactly at its terminator
    // bytes (lineRunLine() gives each line's characters). Empty when the next line must come
    // through readLine(): not buffered whole, or in a run where a character may swallow a
    // terminator (all of whose lines then go through readLine()). The caller consumes the run
    // with skipBlock() or declines it with readLinesOfBlock(); the view lasts until then.
    struct LineRun {
        std::string_view bytes;
        std::size_t lineEnds = 0;
    };
    LineRun peekBlock();
    void skipBlock();
    void readLinesOfBlock();

private:
    bool fill();  // reads more bytes behind the unread ones; false at the end of the file
    bool peekByte(unsigned char& byte);
    RawLine readLineByCharacters();

    IndexFile file_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // first unread byte
    std::size_t end_ = 0;    // one past the last byte read from the file
    bool eof_ = false;
    std::uint64_t bufferOffset_ = 0;     // file offset of buffer_[0]
    std::uint64_t lineByLineUntil_ = 0;  // file offset up to which lines go through readLine()
    std::size_t peekedBlock_ = 0;        // size of the run peekBlock() offered
    std::string slowLine_;               // the bytes of the last line read character by character
};

}  // namespace quillscan

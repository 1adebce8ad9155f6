#include "index/thread_index_reader.h"

#include <algorithm>
#include <cstring>

#include "index/line_scan.h"
#include "index/utf8.h"

namespace quillscan {

namespace {

// Length of the longest prefix of `unread` made of whole lines: each line's terminator is in
// it and, after a CR, so is the byte that tells whether an LF belongs to it. 0 when none.
std::size_t wholeLinesLength(std::string_view unread, bool atEndOfFile) {
    std::size_t end = unread.size();
    while (end > 0 && !isLineTerminator(unread[end - 1])) --end;
    if (end == unread.size() && end > 0 && unread[end - 1] == '\r' && !atEndOfFile) {
        --end;  // a CR as the last buffered byte: its LF may still come
        while (end > 0 && !isLineTerminator(unread[end - 1])) --end;
    }
    return end;
}

// Most lines are links, all ASCII: a word-at-a-time test settles them before the validator.
bool isWellFormedLine(std::string_view bytes) {
    return isAscii(bytes) || isWellFormedUtf8(bytes);
}

// A character's length in bytes from its first byte; 0 for a byte that cannot start one.
int characterLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

RawLine lineRunLine(std::string_view lineBytes, std::string& scratch) {
    if (isWellFormedLine(lineBytes)) return {lineBytes, true};
    // No character reaches past the line's end, so only a byte that cannot start a character
    // reads differently from the bytes themselves.
    scratch.clear();
    for (std::size_t i = 0; i < lineBytes.size();) {
        const int length = characterLength(static_cast<unsigned char>(lineBytes[i]));
        if (length == 0) {
            scratch += '?';
            ++i;
            continue;
        }
        scratch.append(lineBytes.substr(i, length));
        i += length;
    }
    return {scratch, false};
}

std::u16string decodeLine(RawLine line) {
    std::u16string text;
    if (line.wellFormed) {
        appendWellFormedUtf8AsUtf16(line.bytes, text);
    } else {
        appendUtf8AsUtf16(line.bytes.substr(0, line.bytes.find('\0')), text);
    }
    return text;
}

ThreadIndexReader::ThreadIndexReader(std::size_t bufferSize)
    : buffer_(std::max<std::size_t>(bufferSize, 16)) {}

void ThreadIndexReader::open(const std::filesystem::path& path) {
    file_.open(path);
    begin_ = end_ = 0;
    eof_ = false;
    bufferOffset_ = lineByLineUntil_ = 0;
    peekedBlock_ = 0;
}

void ThreadIndexReader::close() {
    file_.close();
    begin_ = end_ = 0;
    eof_ = true;
}

bool ThreadIndexReader::fill() {
    if (eof_) return false;
    if (begin_ > 0) {
        bufferOffset_ += begin_;
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    // A buffer full of one unfinished line grows: lines have no length limit.
    if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
    const std::size_t count = file_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (count == 0) {
        eof_ = true;
        return false;
    }
    end_ += count;
    return true;
}

bool ThreadIndexReader::peekByte(unsigned char& byte) {
    if (begin_ == end_ && !fill()) return false;
    byte = static_cast<unsigned char>(buffer_[begin_]);
    return true;
}

bool ThreadIndexReader::atEnd() {
    unsigned char ignored;
    return !peekByte(ignored);
}

ThreadEntry ThreadIndexReader::readEntry() {
    ThreadEntry entry;
    entry.title = decodeLine(readLine());  // decoded before the next read reuses the buffer
    entry.link = decodeLine(readLine());
    return entry;
}

RawLine ThreadIndexReader::readLine() {
    std::size_t scanned = 0;  // bytes of the line known to hold no terminator
    for (;;) {
        const char* line = buffer_.data() + begin_;
        const std::size_t available = end_ - begin_;
        const std::size_t length = findLineTerminator(std::string_view(line, available), scanned);
        // Without a terminator, or with a CR whose next byte is not here yet, read on.
        const bool incomplete =
            length == available || (line[length] == '\r' && length + 1 == available);
        if (incomplete && fill()) {
            scanned = length;
            continue;
        }
        line = buffer_.data() + begin_;  // fill() moves the unread bytes even when none follow

        const std::string_view bytes(line, length);
        // The byte scan equals the character rules exactly when the line is well-formed UTF-8:
        // then no character can swallow the terminator.
        if (!isWellFormedLine(bytes)) return readLineByCharacters();

        begin_ += lineStartAfter(std::string_view(line, available), length);
        return {bytes, true};
    }
}

ThreadIndexReader::LineRun ThreadIndexReader::peekBlock() {
    if (bufferOffset_ + begin_ < lineByLineUntil_) return {};
    if (end_ - begin_ < buffer_.size() / 2) fill();
    const std::string_view unread(buffer_.data() + begin_, end_ - begin_);
    peekedBlock_ = wholeLinesLength(unread, eof_);
    const std::string_view block = unread.substr(0, peekedBlock_);
    const LineRunShape shape = inspectLineRun(block);
    if (!shape.terminatorsStandAlone) {
        readLinesOfBlock();
        return {};
    }
    return {block, shape.lineEnds};
}

void ThreadIndexReader::skipBlock() {
    begin_ += peekedBlock_;
}

void ThreadIndexReader::readLinesOfBlock() {
    lineByLineUntil_ = bufferOffset_ + begin_ + peekedBlock_;
}

RawLine ThreadIndexReader::readLineByCharacters() {
    slowLine_.clear();
    unsigned char lead;
    while (peekByte(lead)) {
        ++begin_;
        if (lead == '\0' || lead == '\n') break;
        if (lead == '\r') {
            unsigned char next;
            if (peekByte(next) && next == '\n') ++begin_;
            break;
        }
        const int length = characterLength(lead);
        if (length == 0) {
            slowLine_ += '?';
            continue;
        }
        const std::size_t start = slowLine_.size();
        slowLine_ += static_cast<char>(lead);
        for (int i = 1; i < length; ++i) {
            unsigned char next;
            if (!peekByte(next)) {
                slowLine_.resize(start);  // a character cut off by the end of the file
                return {slowLine_, false};
            }
            ++begin_;
            slowLine_ += static_cast<char>(next);
        }
    }
    const bool wellFormed =
        slowLine_.find('\0') == std::string::npos && isWellFormedUtf8(slowLine_);
    return {slowLine_, wellFormed};
}

}  // namespace quillscan

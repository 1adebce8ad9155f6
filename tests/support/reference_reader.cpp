#include "reference_reader.h"

#include "index/lower_case.h"
#include "index/thread_index_reader.h"
#include "index/utf8.h"

namespace quillscan::testing {

namespace {

class ByteSource {
public:
    explicit ByteSource(std::string_view bytes) : bytes_(bytes) {}
    bool atEnd() const { return position_ == bytes_.size(); }
    bool next(unsigned char& byte) {
        if (atEnd()) return false;
        byte = static_cast<unsigned char>(bytes_[position_++]);
        return true;
    }
    void putBack() { --position_; }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
};

std::u16string readLine(ByteSource& source) {
    std::string buffer;
    for (;;) {
        unsigned char lead;
        if (!source.next(lead)) break;
        int length = 0;
        if (lead < 0x80)
            length = 1;
        else if ((lead & 0xE0) == 0xC0)
            length = 2;
        else if ((lead & 0xF0) == 0xE0)
            length = 3;
        else if ((lead & 0xF8) == 0xF0)
            length = 4;

        if (length == 0) {
            buffer += '?';
            continue;
        }
        std::string character(1, static_cast<char>(lead));
        bool cutOff = false;
        for (int i = 1; i < length; ++i) {
            unsigned char byte;
            if (!source.next(byte)) {
                cutOff = true;
                break;
            }
            character += static_cast<char>(byte);
        }
        if (cutOff) break;
        if (character == std::string(1, '\0') || character == "\n") break;
        if (character == "\r") {
            unsigned char byte;
            if (source.next(byte) && byte != '\n') source.putBack();
            break;
        }
        buffer += character;
    }
    return utf8ToUtf16(buffer.substr(0, buffer.find('\0')));
}

}  // namespace

std::vector<ThreadEntry> referenceEntries(std::string_view fileBytes) {
    ByteSource source(fileBytes);
    std::vector<ThreadEntry> entries;
    while (!source.atEnd()) {
        ThreadEntry entry;
        entry.title = readLine(source);
        entry.link = readLine(source);
        entries.push_back(entry);
    }
    return entries;
}

std::vector<ThreadEntry> readAllEntries(const std::filesystem::path& file, std::size_t bufferSize) {
    ThreadIndexReader reader(bufferSize);
    reader.open(file);
    std::vector<ThreadEntry> entries;
    while (!reader.atEnd()) entries.push_back(reader.readEntry());
    reader.close();
    return entries;
}

std::vector<ThreadEntry> referenceMatches(std::string_view fileBytes, std::u16string_view query) {
    while (!query.empty() && query.front() == u' ') query.remove_prefix(1);
    while (!query.empty() && query.back() == u' ') query.remove_suffix(1);
    auto lower = [](std::u16string_view text) {
        std::u16string lowered;
        for (char16_t unit : text) lowered += toLowerUnit(unit);
        return lowered;
    };
    const std::u16string loweredQuery = lower(query);
    std::vector<ThreadEntry> matches;
    for (const ThreadEntry& entry : referenceEntries(fileBytes)) {
        const std::u16string title = lower(entry.title);
        for (std::size_t i = 0; i + loweredQuery.size() <= title.size(); ++i) {
            if (title.compare(i, loweredQuery.size(), loweredQuery) == 0) {
                matches.push_back(entry);
                break;
            }
        }
    }
    return matches;
}

}  // namespace quillscan::testing

// Compact storage for the rows of the result list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillscan {

// One stored text: one byte per unit when every unit is below U+0100 (links, English titles),
// UTF-16 otherwise (two bytes a unit, less than UTF-8 takes for Chinese).
struct StoredText {
    const void* units;
    std::size_t length;  // in UTF-16 units
    bool wide;           // units are char16_t rather than Latin-1 bytes

    std::u16string toU16String() const;
};

// Rows are only ever appended one by one or dropped all at once, so their texts are packed back
// to back into large blocks, each text behind a short length header, and a row keeps only where
// it starts: a row costs about the bytes it has in the index file plus 10, with no allocation
// of its own. clear() hands everything back.
class RowStore {
public:
    static constexpr std::size_t kDefaultBlockBytes = std::size_t{2} << 20;

    explicit RowStore(std::size_t blockBytes = kDefaultBlockBytes);

    void append(std::u16string_view title, std::u16string_view link);
    void clear();

    std::size_t size() const { return rows_.size(); }
    StoredText title(std::size_t row) const;
    StoredText link(std::size_t row) const;

    // Bytes held for texts and row records, free space in the blocks included.
    std::size_t reservedBytes() const;

private:
    struct Row {
        std::uint32_t block;
        std::uint32_t offset;  // of the title's header; the link follows the title
    };
    struct Block {
        std::unique_ptr<unsigned char[]> bytes;
        std::size_t capacity;
    };

    unsigned char* reserve(std::size_t bytes);
    const unsigned char* rowStart(std::size_t row) const;

    std::size_t blockBytes_;
    std::vector<Block> blocks_;
    std::size_t usedInLastBlock_ = 0;
    std::deque<Row> rows_;  // grows in small pieces: no copy of all records when it grows
};

}  // namespace quillscan

#include "window/row_store.h"

#include <algorithm>
#include <cstring>

namespace quillscan {

namespace {

// A text's header is its length times two, plus one when it is wide, as a base-128 varint.
constexpr std::size_t kMaxHeaderBytes = 10;

bool needsWideUnits(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t unit) { return unit > 0xFF; });
}

// Upper bound of the bytes one text takes: header, a byte to align wide units, the units.
std::size_t maxStoredBytes(std::u16string_view text) {
    return kMaxHeaderBytes + 1 + text.size() * sizeof(char16_t);
}

bool isOddAddress(const unsigned char* at) {
    return reinterpret_cast<std::uintptr_t>(at) % alignof(char16_t) != 0;
}

unsigned char* writeText(unsigned char* out, std::u16string_view text) {
    const bool wide = needsWideUnits(text);
    for (std::uint64_t header = (std::uint64_t{text.size()} << 1) | wide;; header >>= 7) {
        if (header < 0x80) {
            *out++ = static_cast<unsigned char>(header);
            break;
        }
        *out++ = static_cast<unsigned char>(header | 0x80);
    }
    if (!wide) {
        return std::transform(text.begin(), text.end(), out,
                              [](char16_t unit) { return static_cast<unsigned char>(unit); });
    }
    if (isOddAddress(out)) ++out;
    std::memcpy(out, text.data(), text.size() * sizeof(char16_t));
    return out + text.size() * sizeof(char16_t);
}

// Reads the text at `in` and moves `in` past it.
StoredText readText(const unsigned char*& in) {
    std::uint64_t header = 0;
    for (int shift = 0;; shift += 7) {
        const unsigned char byte = *in++;
        header |= std::uint64_t{byte & 0x7Fu} << shift;
        if (byte < 0x80) break;
    }
    StoredText text{nullptr, static_cast<std::size_t>(header >> 1), (header & 1) != 0};
    if (text.wide && isOddAddress(in)) ++in;
    text.units = in;
    in += text.length * (text.wide ? sizeof(char16_t) : 1);
    return text;
}

}  // namespace

std::u16string StoredText::toU16String() const {
    if (wide) return {static_cast<const char16_t*>(units), length};
    const auto* bytes = static_cast<const unsigned char*>(units);
    return std::u16string(bytes, bytes + length);
}

RowStore::RowStore(std::size_t blockBytes) : blockBytes_(std::max(blockBytes, std::size_t{64})) {}

unsigned char* RowStore::reserve(std::size_t bytes) {
    if (blocks_.empty() || blocks_.back().capacity - usedInLastBlock_ < bytes) {
        // A row never spans two blocks; one larger than a block gets a block of its own size,
        // so that it starts at offset 0 and no offset outgrows 32 bits.
        const std::size_t capacity = std::max(blockBytes_, bytes);
        blocks_.push_back(
            {std::unique_ptr<unsigned char[]>(new unsigned char[capacity]), capacity});
        usedInLastBlock_ = 0;
    }
    rows_.push_back({static_cast<std::uint32_t>(blocks_.size() - 1),
                     static_cast<std::uint32_t>(usedInLastBlock_)});
    return blocks_.back().bytes.get() + usedInLastBlock_;
}

void RowStore::append(std::u16string_view title, std::u16string_view link) {
    unsigned char* start = reserve(maxStoredBytes(title) + maxStoredBytes(link));
    const unsigned char* end = writeText(writeText(start, title), link);
    usedInLastBlock_ += static_cast<std::size_t>(end - start);
}

void RowStore::clear() {
    std::vector<Block>().swap(blocks_);
    std::deque<Row>().swap(rows_);
    usedInLastBlock_ = 0;
}

const unsigned char* RowStore::rowStart(std::size_t row) const {
    return blocks_[rows_[row].block].bytes.get() + rows_[row].offset;
}

StoredText RowStore::title(std::size_t row) const {
    const unsigned char* in = rowStart(row);
    return readText(in);
}

StoredText RowStore::link(std::size_t row) const {
    const unsigned char* in = rowStart(row);
    readText(in);
    return readText(in);
}

std::size_t RowStore::reservedBytes() const {
    std::size_t bytes = rows_.size() * sizeof(Row);
    for (const Block& block : blocks_) bytes += block.capacity;
    return bytes;
}

}  // namespace quillscan

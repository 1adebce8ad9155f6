// Reading one UTF-8 sequence: the step shared by the decoder and the portable validator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quillscan::detail {

// What the first byte of a sequence allows: its total length (0 when it cannot start one) and
// the range of the second byte. Narrowing the second byte's range is what excludes overlongs
// (E0, F0), surrogates (ED) and values past U+10FFFF (F4); later bytes are plain 80..BF.
struct LeadByte {
    std::uint8_t length = 0;
    std::uint8_t secondMin = 0x80;
    std::uint8_t secondMax = 0xBF;
};

constexpr std::array<LeadByte, 256> makeLeadBytes() {
    std::array<LeadByte, 256> table{};
    for (int byte = 0xC2; byte <= 0xDF; ++byte) table[byte].length = 2;
    for (int byte = 0xE0; byte <= 0xEF; ++byte) table[byte].length = 3;
    for (int byte = 0xF0; byte <= 0xF4; ++byte) table[byte].length = 4;
    table[0xE0].secondMin = 0xA0;
    table[0xED].secondMax = 0x9F;
    table[0xF0].secondMin = 0x90;
    table[0xF4].secondMax = 0x8F;
    return table;
}

inline constexpr std::array<LeadByte, 256> kLeadBytes = makeLeadBytes();

// One non-ASCII sequence: its code point when well-formed, and the bytes it spans. An
// ill-formed sequence spans its maximal subpart: the longest start of some well-formed
// sequence, or just the first byte when that byte cannot start one.
struct Sequence {
    char32_t codePoint;
    std::size_t length;
    bool wellFormed;
};

inline bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Reads the sequence at `p`, a byte >= 0x80 before `end`. Unrolled by length: this is the
// inner step of decoding non-ASCII text.
inline Sequence readSequence(const unsigned char* p, const unsigned char* end) {
    const LeadByte& lead = kLeadBytes[p[0]];
    const auto available = static_cast<std::size_t>(end - p);
    if (lead.length == 0) return {0, 1, false};
    if (available < 2 || p[1] < lead.secondMin || p[1] > lead.secondMax) return {0, 1, false};
    // 0x7F >> length keeps the payload bits of the first byte: 5, 4 or 3 of them.
    char32_t codePoint = ((p[0] & (0x7Fu >> lead.length)) << 6) | (p[1] & 0x3Fu);
    if (lead.length == 2) return {codePoint, 2, true};
    if (available < 3 || !isContinuation(p[2])) return {0, 2, false};
    codePoint = (codePoint << 6) | (p[2] & 0x3Fu);
    if (lead.length == 3) return {codePoint, 3, true};
    if (available < 4 || !isContinuation(p[3])) return {0, 3, false};
    return {(codePoint << 6) | (p[3] & 0x3Fu), 4, true};
}

// True when the eight bytes at `p` are all ASCII.
inline bool isAsciiWord(const unsigned char* p) {
    constexpr std::uint64_t kHighBitOfEveryByte = 0x8080808080808080u;
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & kHighBitOfEveryByte) == 0;
}

}  // namespace quillscan::detail

#include "index/utf8.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace quillscan {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr std::uint64_t kHighBitOfEveryByte = 0x8080808080808080u;

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

constexpr std::array<LeadByte, 256> kLeadBytes = makeLeadBytes();

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

inline bool isAsciiWord(const unsigned char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & kHighBitOfEveryByte) == 0;
}

void appendCodePointAsUtf8(char32_t codePoint, std::string& out) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

inline bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

inline bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

void appendUtf8AsUtf16(std::string_view bytes, std::u16string& out) {
    // Every byte gives at most one UTF-16 unit (a 4-byte sequence gives two), so the output
    // is sized once for the worst case and trimmed at the end.
    const std::size_t oldSize = out.size();
    out.resize(oldSize + bytes.size());
    char16_t* o = out.data() + oldSize;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();

    while (p != end) {
        // Runs of ASCII are copied eight bytes at a time.
        while (end - p >= 8 && isAsciiWord(p)) {
            for (int i = 0; i < 8; ++i) o[i] = p[i];
            p += 8;
            o += 8;
        }
        if (p == end) break;
        if (*p < 0x80) {
            *o++ = *p++;
            continue;
        }
        const Sequence sequence = readSequence(p, end);
        p += sequence.length;
        if (!sequence.wellFormed) {
            *o++ = kReplacement;
        } else if (sequence.codePoint < 0x10000) {
            *o++ = static_cast<char16_t>(sequence.codePoint);
        } else {
            const char32_t offset = sequence.codePoint - 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (offset >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string text;
    appendUtf8AsUtf16(bytes, text);
    return text;
}

bool isWellFormedUtf8(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p != end) {
        while (end - p >= 16 && isAsciiWord(p) && isAsciiWord(p + 8)) p += 16;
        if (p == end) break;
        if (*p < 0x80) {
            ++p;
            continue;
        }
        const Sequence sequence = readSequence(p, end);
        if (!sequence.wellFormed) return false;
        p += sequence.length;
    }
    return true;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t codePoint = unit;
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            codePoint = 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            codePoint = kReplacement;
        }
        appendCodePointAsUtf8(codePoint, bytes);
    }
    return bytes;
}

}  // namespace quillscan

#include "index/utf8.h"

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "index/utf8_sequence.h"

namespace quillscan {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

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

// The decoder of both entry points below. Text known to be well-formed skips the checks of
// each sequence: that is the text of almost every row a search shows.
template <bool kKnownWellFormed>
void decodeUtf8(std::string_view bytes, std::u16string& out) {
    // Every byte gives at most one UTF-16 unit (a 4-byte sequence gives two), so the output
    // is sized once for the worst case and trimmed at the end.
    const std::size_t oldSize = out.size();
    out.resize(oldSize + bytes.size());
    char16_t* o = out.data() + oldSize;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();

    while (p != end) {
        // Runs of ASCII (every link, most Latin titles) are widened sixteen bytes at a time.
#if defined(__SSE2__)
        while (end - p >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            if (_mm_movemask_epi8(block) != 0) break;
            const __m128i zero = _mm_setzero_si128();
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o), _mm_unpacklo_epi8(block, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(o + 8), _mm_unpackhi_epi8(block, zero));
            p += 16;
            o += 16;
        }
#endif
        while (end - p >= 8 && detail::isAsciiWord(p)) {
            for (int i = 0; i < 8; ++i) o[i] = p[i];
            p += 8;
            o += 8;
        }
        if (p == end) break;
        if (*p < 0x80) {
            *o++ = *p++;
            continue;
        }
        char32_t codePoint;
        if constexpr (kKnownWellFormed) {
            if (*p < 0xE0) {
                codePoint = (char32_t(p[0] & 0x1F) << 6) | (p[1] & 0x3F);
                p += 2;
            } else if (*p < 0xF0) {
                codePoint =
                    (char32_t(p[0] & 0x0F) << 12) | (char32_t(p[1] & 0x3F) << 6) | (p[2] & 0x3F);
                p += 3;
            } else {
                codePoint = (char32_t(p[0] & 0x07) << 18) | (char32_t(p[1] & 0x3F) << 12) |
                            (char32_t(p[2] & 0x3F) << 6) | (p[3] & 0x3F);
                p += 4;
            }
        } else {
            const detail::Sequence sequence = detail::readSequence(p, end);
            p += sequence.length;
            codePoint = sequence.wellFormed ? sequence.codePoint : kReplacement;
        }
        if (codePoint < 0x10000) {
            *o++ = static_cast<char16_t>(codePoint);
        } else {
            const char32_t offset = codePoint - 0x10000;
            *o++ = static_cast<char16_t>(0xD800 + (offset >> 10));
            *o++ = static_cast<char16_t>(0xDC00 + (offset & 0x3FF));
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
}

}  // namespace

void appendUtf8AsUtf16(std::string_view bytes, std::u16string& out) {
    decodeUtf8<false>(bytes, out);
}

void appendWellFormedUtf8AsUtf16(std::string_view bytes, std::u16string& out) {
    decodeUtf8<true>(bytes, out);
}

bool isAscii(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (end - p >= 8 && detail::isAsciiWord(p)) p += 8;
    for (; p != end; ++p)
        if (*p >= 0x80) return false;
    return true;
}

std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string text;
    appendUtf8AsUtf16(bytes, text);
    return text;
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

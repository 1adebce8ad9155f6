#include "index/line_scan.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillscan {

#if defined(__SSE2__)
namespace {

std::size_t sumOfLanes(__m128i lanes) {
    const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
    return static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
}

}  // namespace
#endif

std::size_t findLineTerminator(std::string_view bytes, std::size_t from) {
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= size; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, cr)),
            _mm_cmpeq_epi8(block, zero));
        if (const int mask = _mm_movemask_epi8(hits)) return i + std::countr_zero(unsigned(mask));
    }
#endif
    while (i < size && !isLineTerminator(data[i])) ++i;
    return i;
}

std::size_t countLineEnds(std::string_view bytes) {
    const char* data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t count = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    // Each terminator byte of a block subtracts -1 from its lane of a byte counter, which is
    // summed up before any lane can overflow. An LF whose previous byte is a CR ends no line.
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    if (size >= 1 + 16) {
        count += isLineTerminator(data[0]);
        i = 1;
        __m128i lanes = zero;
        int blocksInLanes = 0;
        for (; i + 16 <= size; i += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
            const __m128i previous =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i - 1));
            const __m128i ends = _mm_or_si128(
                _mm_andnot_si128(_mm_cmpeq_epi8(previous, cr), _mm_cmpeq_epi8(block, lf)),
                _mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, zero)));
            lanes = _mm_sub_epi8(lanes, ends);
            if (++blocksInLanes == 255) {
                count += sumOfLanes(lanes);
                lanes = zero;
                blocksInLanes = 0;
            }
        }
        count += sumOfLanes(lanes);
    }
#endif
    for (; i < size; ++i) {
        const bool pairedLf = data[i] == '\n' && i > 0 && data[i - 1] == '\r';
        if (isLineTerminator(data[i]) && !pairedLf) ++count;
    }
    return count;
}

std::size_t nextLineStart(std::string_view bytes, std::size_t at) {
    const std::size_t end = findLineTerminator(bytes, at);
    if (end == bytes.size()) return end;
    const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
    return end + (crLf ? 2 : 1);
}

bool isAscii(std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ULL) return false;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) & 0x80) return false;
    return true;
}

}  // namespace quillscan

#include "index/line_scan.h"

#include <bit>

#include "index/cpu_features.h"

namespace quillscan {

namespace {

bool isPairedLf(std::string_view bytes, std::size_t i) {
    return bytes[i] == '\n' && i > 0 && bytes[i - 1] == '\r';
}

bool reachesInto(std::string_view bytes, std::size_t i) {
    const auto at = [&](std::size_t back) {
        return i >= back ? static_cast<unsigned char>(bytes[i - back]) : 0u;
    };
    return at(1) >= 0xC0 || at(2) >= 0xE0 || at(3) >= 0xF0;
}

// The plain loop over [from, size) that the vector code hands its tail to. With `inspect`, also
// looks for lead bytes within reach of a terminator.
template <bool inspect>
void scanPlainly(std::string_view bytes, std::size_t from, LineRunShape& shape) {
    for (std::size_t i = from; i < bytes.size(); ++i) {
        if (!isLineTerminator(bytes[i])) continue;
        if (!isPairedLf(bytes, i)) ++shape.lineEnds;
        if (inspect && reachesInto(bytes, i)) shape.terminatorsStandAlone = false;
    }
}

#if QUILLSCAN_HAS_AVX2_CODE

QUILLSCAN_AVX2 __m256i load(const char* at) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}

QUILLSCAN_AVX2 __m256i terminatorBytes(__m256i block) {
    return _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(block, _mm256_set1_epi8('\n')),
                                           _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\r'))),
                           _mm256_cmpeq_epi8(block, _mm256_setzero_si256()));
}

// Terminator bytes that end a line: all but an LF whose previous byte is a CR.
QUILLSCAN_AVX2 __m256i lineEndBytes(__m256i block, __m256i previous) {
    const __m256i pairedLf = _mm256_and_si256(_mm256_cmpeq_epi8(previous, _mm256_set1_epi8('\r')),
                                              _mm256_cmpeq_epi8(block, _mm256_set1_epi8('\n')));
    return _mm256_andnot_si256(pairedLf, terminatorBytes(block));
}

QUILLSCAN_AVX2 __m256i atLeast(__m256i block, char bound) {
    return _mm256_cmpeq_epi8(_mm256_max_epu8(block, _mm256_set1_epi8(bound)), block);
}

QUILLSCAN_AVX2 std::size_t sumOfLanes(__m256i lanes) {
    const __m256i sums = _mm256_sad_epu8(lanes, _mm256_setzero_si256());
    return static_cast<std::size_t>(_mm256_extract_epi64(sums, 0) + _mm256_extract_epi64(sums, 1) +
                                    _mm256_extract_epi64(sums, 2) + _mm256_extract_epi64(sums, 3));
}

QUILLSCAN_AVX2 std::size_t findLineTerminatorAvx2(std::string_view bytes, std::size_t i) {
    for (; i + 32 <= bytes.size(); i += 32) {
        const unsigned hits = _mm256_movemask_epi8(terminatorBytes(load(bytes.data() + i)));
        if (hits != 0) return i + std::countr_zero(hits);
    }
    while (i < bytes.size() && !isLineTerminator(bytes[i])) ++i;
    return i;
}

// Counts line ends 32 bytes at a time: each counts -1 in its byte lane, and the lanes are
// summed before any can overflow. With `inspect`, also looks for lead bytes within reach of a
// terminator. The first three bytes go the plain way, so that the vector loads of the
// previous bytes stay inside `bytes`.
template <bool inspect>
QUILLSCAN_AVX2 LineRunShape scanLineEndsAvx2(std::string_view bytes) {
    LineRunShape shape;
    std::size_t i = 0;
    if (bytes.size() >= 3 + 32) {
        scanPlainly<inspect>(bytes.substr(0, 3), 0, shape);
        i = 3;
        __m256i lanes = _mm256_setzero_si256();
        __m256i reached = _mm256_setzero_si256();
        int blocksInLanes = 0;
        for (const char* data = bytes.data(); i + 32 <= bytes.size(); i += 32) {
            const __m256i block = load(data + i);
            const __m256i previous = load(data + i - 1);
            lanes = _mm256_sub_epi8(lanes, lineEndBytes(block, previous));
            if (inspect) {
                const __m256i leads =
                    _mm256_or_si256(atLeast(previous, char(0xC0)),
                                    _mm256_or_si256(atLeast(load(data + i - 2), char(0xE0)),
                                                    atLeast(load(data + i - 3), char(0xF0))));
                reached = _mm256_or_si256(reached, _mm256_and_si256(leads, terminatorBytes(block)));
            }
            if (++blocksInLanes == 255) {
                shape.lineEnds += sumOfLanes(lanes);
                lanes = _mm256_setzero_si256();
                blocksInLanes = 0;
            }
        }
        shape.lineEnds += sumOfLanes(lanes);
        if (!_mm256_testz_si256(reached, reached)) shape.terminatorsStandAlone = false;
    }
    scanPlainly<inspect>(bytes, i, shape);
    return shape;
}

#endif

}  // namespace

std::size_t findLineTerminator(std::string_view bytes, std::size_t from) {
#if QUILLSCAN_HAS_AVX2_CODE
    if (hasAvx2()) return findLineTerminatorAvx2(bytes, from);
#endif
    while (from < bytes.size() && !isLineTerminator(bytes[from])) ++from;
    return from;
}

std::size_t countLineEnds(std::string_view bytes) {
#if QUILLSCAN_HAS_AVX2_CODE
    if (hasAvx2()) return scanLineEndsAvx2<false>(bytes).lineEnds;
#endif
    LineRunShape shape;
    scanPlainly<false>(bytes, 0, shape);
    return shape.lineEnds;
}

LineRunShape inspectLineRun(std::string_view bytes) {
#if QUILLSCAN_HAS_AVX2_CODE
    if (hasAvx2()) return scanLineEndsAvx2<true>(bytes);
#endif
    LineRunShape shape;
    scanPlainly<true>(bytes, 0, shape);
    return shape;
}

std::size_t lineStartAfter(std::string_view bytes, std::size_t terminator) {
    if (terminator == bytes.size()) return terminator;
    const bool crLf =
        bytes[terminator] == '\r' && terminator + 1 < bytes.size() && bytes[terminator + 1] == '\n';
    return terminator + (crLf ? 2 : 1);
}

std::size_t nextLineStart(std::string_view bytes, std::size_t at) {
    return lineStartAfter(bytes, findLineTerminator(bytes, at));
}

}  // namespace quillscan

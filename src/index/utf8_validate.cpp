#include "index/utf8_validate.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "index/cpu_features.h"
#include "index/utf8.h"
#include "index/utf8_sequence.h"

namespace quillscan {

namespace detail {

bool isWellFormedUtf8Scalar(std::string_view bytes) {
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

}  // namespace detail

#if QUILLSCAN_HAS_AVX2_CODE

namespace {

// The table-lookup validation of Keiser and Lemire, 32 bytes at a time. Every byte is checked
// together with the byte before it: each bit below names one way such a pair can be wrong, and
// three 16-entry tables, indexed by the previous byte's high nibble, its low nibble and the
// current byte's high nibble, each give the bits that nibble is consistent with. The pair is
// wrong when all three lookups share a bit.
constexpr std::uint8_t kTooShort = 1 << 0;          // a lead not followed by a continuation
constexpr std::uint8_t kTooLong = 1 << 1;           // a continuation after ASCII
constexpr std::uint8_t kOverlong3 = 1 << 2;         // E0 80..9F
constexpr std::uint8_t kTooLarge = 1 << 3;          // F4 90..BF, F5..FF 90..BF
constexpr std::uint8_t kSurrogate = 1 << 4;         // ED A0..BF
constexpr std::uint8_t kOverlong2 = 1 << 5;         // C0 or C1 then a continuation
constexpr std::uint8_t kTooLarge1000 = 1 << 6;      // F5..FF 80..8F
constexpr std::uint8_t kOverlong4 = 1 << 6;         // F0 80..8F: F0 has another low nibble
constexpr std::uint8_t kTwoContinuations = 1 << 7;  // a continuation after a continuation
// The errors decided by the high nibbles alone, which every low nibble allows.
constexpr std::uint8_t kCarry = kTooShort | kTooLong | kTwoContinuations;

using NibbleTable = std::array<std::uint8_t, 16>;

// clang-format off
// Indexed by the previous byte's high nibble.
constexpr NibbleTable kPreviousHigh = {
    // 0_______: ASCII
    kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong, kTooLong,
    // 10______: continuation
    kTwoContinuations, kTwoContinuations, kTwoContinuations, kTwoContinuations,
    // 1100____, 1101____, 1110____, 1111____: leads of two, two, three and four bytes
    kTooShort | kOverlong2,
    kTooShort,
    kTooShort | kOverlong3 | kSurrogate,
    kTooShort | kTooLarge | kTooLarge1000 | kOverlong4,
};

// Indexed by the previous byte's low nibble.
constexpr NibbleTable kPreviousLow = {
    kCarry | kOverlong2 | kOverlong3 | kOverlong4,  // C0, E0, F0
    kCarry | kOverlong2,                            // C1
    kCarry,
    kCarry,
    kCarry | kTooLarge,  // F4
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000 | kSurrogate,  // ED
    kCarry | kTooLarge | kTooLarge1000,
    kCarry | kTooLarge | kTooLarge1000,
};

// Indexed by the current byte's high nibble.
constexpr std::uint8_t kAnyContinuation = kTooLong | kOverlong2 | kTwoContinuations;
constexpr NibbleTable kCurrentHigh = {
    // 0_______: ASCII
    kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort, kTooShort,
    // 1000____, 1001____, 1010____, 1011____: continuations
    kAnyContinuation | kOverlong3 | kTooLarge1000 | kOverlong4,
    kAnyContinuation | kOverlong3 | kTooLarge,
    kAnyContinuation | kSurrogate | kTooLarge,
    kAnyContinuation | kSurrogate | kTooLarge,
    // 11______: leads
    kTooShort, kTooShort, kTooShort, kTooShort,
};
// clang-format on

// The largest byte that can end a block in each of its last three places without leaving a
// sequence open: below a four-byte lead, then a three-byte lead, then any lead.
constexpr std::array<std::uint8_t, 32> kLargestClosingByte = [] {
    std::array<std::uint8_t, 32> largest{};
    largest.fill(0xFF);
    largest[29] = 0xEF;
    largest[30] = 0xDF;
    largest[31] = 0xBF;
    return largest;
}();

QUILLSCAN_AVX2 inline __m256i loadBlock(const void* p) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(p));
}

QUILLSCAN_AVX2 inline __m128i load16(const void* p) {
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

QUILLSCAN_AVX2 inline __m256i bothLanes(const std::uint8_t* entries) {
    return _mm256_broadcastsi128_si256(load16(entries));
}

QUILLSCAN_AVX2 inline __m256i lookUp(const NibbleTable& table, __m256i nibbles) {
    return _mm256_shuffle_epi8(bothLanes(table.data()), nibbles);
}

QUILLSCAN_AVX2 inline __m256i highNibbles(__m256i bytes) {
    return _mm256_and_si256(_mm256_srli_epi16(bytes, 4), _mm256_set1_epi8(0x0F));
}

QUILLSCAN_AVX2 inline __m256i lowNibbles(__m256i bytes) {
    return _mm256_and_si256(bytes, _mm256_set1_epi8(0x0F));
}

// Each byte of `block` replaced by the byte `distance` places before it, reaching back into
// `previous` for the first ones. alignr shifts within 128-bit lanes, so it is given the pair
// (previous's high lane, block's low lane) to draw the bytes that cross a lane boundary from.
template <int distance>
QUILLSCAN_AVX2 inline __m256i bytesBefore(__m256i block, __m256i previous) {
    const __m256i laneBefore = _mm256_permute2x128_si256(previous, block, 0x21);
    return _mm256_alignr_epi8(block, laneBefore, 16 - distance);
}

// The pair errors of each byte. kTwoContinuations is set on every continuation that follows
// one, including the legal third and fourth bytes of a sequence.
QUILLSCAN_AVX2 inline __m256i pairErrors(__m256i block, __m256i previousBytes) {
    const __m256i previousHigh = lookUp(kPreviousHigh, highNibbles(previousBytes));
    const __m256i previousLow = lookUp(kPreviousLow, lowNibbles(previousBytes));
    const __m256i currentHigh = lookUp(kCurrentHigh, highNibbles(block));
    return _mm256_and_si256(_mm256_and_si256(previousHigh, previousLow), currentHigh);
}

// 0x80 on each byte that must be the third or fourth of a sequence: two places after a lead
// of three or four bytes (E0..FF) or three after a lead of four (F0..FF). The saturating
// subtraction leaves the high bit set exactly for those leads.
QUILLSCAN_AVX2 inline __m256i mustBeLaterContinuation(__m256i twoBefore, __m256i threeBefore) {
    const __m256i third = _mm256_subs_epu8(twoBefore, _mm256_set1_epi8(0xE0 - 0x80));
    const __m256i fourth = _mm256_subs_epu8(threeBefore, _mm256_set1_epi8(0xF0 - 0x80));
    return _mm256_and_si256(_mm256_or_si256(third, fourth),
                            _mm256_set1_epi8(static_cast<char>(0x80)));
}

// pshufb indices that move the end of a 16-byte load to its front: the 16 entries from
// kFrontIndices[16 - count] take the last `count` bytes and give zeros after them.
constexpr std::array<std::uint8_t, 32> kFrontIndices = [] {
    std::array<std::uint8_t, 32> indices{};
    indices.fill(0x80);
    for (std::uint8_t i = 0; i < 16; ++i) indices[i] = i;
    return indices;
}();

// The last `count` (0..16) of the 16 bytes before `end`, then zeros.
QUILLSCAN_AVX2 inline __m128i lastBytesFirst(const char* end, std::size_t count) {
    return _mm_shuffle_epi8(load16(end - 16), load16(kFrontIndices.data() + 16 - count));
}

// The last `count` (1..31) of `bytes`, then zeros. `bytes` holds at least 16, so the loads
// stay inside it; copying the bytes to a padded buffer instead would stall the load after it.
QUILLSCAN_AVX2 inline __m256i tailBlock(std::string_view bytes, std::size_t count) {
    const char* end = bytes.data() + bytes.size();
    if (count <= 16) return _mm256_set_m128i(_mm_setzero_si128(), lastBytesFirst(end, count));
    return _mm256_set_m128i(lastBytesFirst(end, count - 16), load16(end - count));
}

// Shorter inputs go to the portable validator: the tail loads below need 16 bytes, and copying
// a short input into a padded block costs about as much as the portable validator.
constexpr std::size_t kShortestForVector = 16;

// ASCII is skipped in runs of four blocks. Deciding block by block costs more than it saves on
// text that mixes ASCII and Chinese every few dozen bytes, as the branch then goes either way
// at random.
constexpr std::size_t kAsciiRunLength = 4 * 32;

class Avx2Validator {
public:
    QUILLSCAN_AVX2 Avx2Validator()
        : errors_(_mm256_setzero_si256()),
          previous_(_mm256_setzero_si256()),
          previousLeavesOpen_(_mm256_setzero_si256()) {}

    // Checks the next block.
    QUILLSCAN_AVX2 void check(__m256i block) {
        const __m256i oneBefore = bytesBefore<1>(block, previous_);
        const __m256i twoBefore = bytesBefore<2>(block, previous_);
        const __m256i threeBefore = bytesBefore<3>(block, previous_);
        // Where a later continuation is required, the kTwoContinuations bit must be set;
        // everywhere else it must be clear. The XOR turns both mismatches into errors.
        const __m256i blockErrors = _mm256_xor_si256(
            pairErrors(block, oneBefore), mustBeLaterContinuation(twoBefore, threeBefore));
        errors_ = _mm256_or_si256(errors_, blockErrors);
        previousLeavesOpen_ = _mm256_subs_epu8(block, loadBlock(kLargestClosingByte.data()));
        previous_ = block;
    }

    // Takes the next blocks, all ASCII and ending with `last`, without checking them: they are
    // wrong just when the block before them left a sequence open.
    QUILLSCAN_AVX2 void skipAscii(__m256i last) {
        errors_ = _mm256_or_si256(errors_, previousLeavesOpen_);
        previousLeavesOpen_ = _mm256_setzero_si256();
        previous_ = last;
    }

    // True when the blocks checked so far are well-formed and end with a whole sequence.
    QUILLSCAN_AVX2 bool wellFormedAtEnd() const {
        const __m256i errors = _mm256_or_si256(errors_, previousLeavesOpen_);
        return _mm256_testz_si256(errors, errors);
    }

private:
    __m256i errors_;
    __m256i previous_;
    __m256i previousLeavesOpen_;  // nonzero when the last block ends inside a sequence
};

// Takes at least kShortestForVector bytes.
QUILLSCAN_AVX2 bool isWellFormedUtf8Avx2(std::string_view bytes) {
    Avx2Validator validator;
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= kAsciiRunLength; p += kAsciiRunLength, left -= kAsciiRunLength) {
        const __m256i first = loadBlock(p);
        const __m256i second = loadBlock(p + 32);
        const __m256i third = loadBlock(p + 64);
        const __m256i fourth = loadBlock(p + 96);
        const __m256i anyHighBit =
            _mm256_or_si256(_mm256_or_si256(first, second), _mm256_or_si256(third, fourth));
        if (_mm256_movemask_epi8(anyHighBit) == 0) {
            validator.skipAscii(fourth);
        } else {
            validator.check(first);
            validator.check(second);
            validator.check(third);
            validator.check(fourth);
        }
    }
    for (; left >= 32; p += 32, left -= 32) validator.check(loadBlock(p));
    // The rest, followed by zeros. Zero bytes are ASCII, so the padding also shows a sequence
    // cut short by the end of the input.
    if (left != 0) validator.check(tailBlock(bytes, left));
    return validator.wellFormedAtEnd();
}

}  // namespace

bool isWellFormedUtf8(std::string_view bytes) {
    if (bytes.size() >= kShortestForVector && hasAvx2()) {
        return isWellFormedUtf8Avx2(bytes);
    }
    return detail::isWellFormedUtf8Scalar(bytes);
}

#else

bool isWellFormedUtf8(std::string_view bytes) {
    return detail::isWellFormedUtf8Scalar(bytes);
}

#endif

}  // namespace quillscan

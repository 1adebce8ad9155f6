#include "index/byte_pattern.h"

#include <bit>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quillscan {

namespace {

bool isLowerAsciiLetter(char byte) { return byte >= 'a' && byte <= 'z'; }

// The bit that tells the cases of an ASCII letter apart, or 0 for a byte that matches only itself.
char caseBit(char byte) { return isLowerAsciiLetter(byte) ? 0x20 : 0; }

// How common a byte is in index text (titles mixing Chinese with Latin names, and links):
// higher is more common. Lead bytes of Chinese characters and spaces are everywhere; each
// continuation byte value is spread thin, and so are capitals, rare letters and punctuation.
int commonness(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    if (value >= 0xE4 && value <= 0xE9) return 250;
    if (value >= 0xC0) return 120;
    if (value >= 0x80) return 60;
    if (byte == ' ') return 240;
    if (byte >= '0' && byte <= '9') return 160;
    static constexpr std::string_view kLettersByFrequency = "etaoinsrhldcumfpgwybvkxjqz";
    if (const auto rank = kLettersByFrequency.find(byte); rank != std::string_view::npos)
        return 220 - static_cast<int>(rank) * 6;
    return 40;
}

}  // namespace

BytePattern::BytePattern(std::string pattern) : pattern_(std::move(pattern)) {
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        if (commonness(pattern_[i]) < commonness(pattern_[firstProbe_])) firstProbe_ = i;
    }
    secondProbe_ = firstProbe_;
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        if (i == firstProbe_) continue;
        if (secondProbe_ == firstProbe_ ||
            commonness(pattern_[i]) < commonness(pattern_[secondProbe_]))
            secondProbe_ = i;
    }
    if (firstProbe_ > secondProbe_) std::swap(firstProbe_, secondProbe_);
}

bool BytePattern::matchesAt(const char* text) const {
    for (std::size_t i = 0; i < pattern_.size(); ++i) {
        if ((text[i] | caseBit(pattern_[i])) != pattern_[i]) return false;
    }
    return true;
}

std::size_t BytePattern::findIn(std::string_view text, std::size_t from) const {
    if (text.size() < pattern_.size()) return std::string_view::npos;
    const std::size_t last = text.size() - pattern_.size();  // last possible start
    std::size_t start = from;
#if defined(__SSE2__)
    const char first = pattern_[firstProbe_];
    const char second = pattern_[secondProbe_];
    const __m128i firstByte = _mm_set1_epi8(first);
    const __m128i firstCase = _mm_set1_epi8(caseBit(first));
    const __m128i secondByte = _mm_set1_epi8(second);
    const __m128i secondCase = _mm_set1_epi8(caseBit(second));
    for (; start + 16 <= last + 1; start += 16) {
        const auto* firstAt = reinterpret_cast<const __m128i*>(text.data() + start + firstProbe_);
        const auto* secondAt = reinterpret_cast<const __m128i*>(text.data() + start + secondProbe_);
        const __m128i firstHits =
            _mm_cmpeq_epi8(_mm_or_si128(_mm_loadu_si128(firstAt), firstCase), firstByte);
        const __m128i secondHits =
            _mm_cmpeq_epi8(_mm_or_si128(_mm_loadu_si128(secondAt), secondCase), secondByte);
        for (unsigned candidates = _mm_movemask_epi8(_mm_and_si128(firstHits, secondHits));
             candidates != 0; candidates &= candidates - 1) {
            const std::size_t at = start + std::countr_zero(candidates);
            if (matchesAt(text.data() + at)) return at;
        }
    }
#endif
    for (; start <= last; ++start) {
        if (matchesAt(text.data() + start)) return start;
    }
    return std::string_view::npos;
}

}  // namespace quillscan

#include "index/byte_pattern.h"

#include <bit>
#include <utility>

#include "index/cpu_features.h"

namespace quillscan {

namespace {

bool isLowerAsciiLetter(char byte) {
    return byte >= 'a' && byte <= 'z';
}

// The bit that tells the cases of an ASCII letter apart, or 0 for a byte that matches only itself.
char caseBit(char byte) {
    return isLowerAsciiLetter(byte) ? 0x20 : 0;
}

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

#if QUILLSCAN_HAS_AVX2_CODE

QUILLSCAN_AVX2 std::size_t BytePattern::findInAvx2(std::string_view text, std::size_t start) const {
    const std::size_t last = text.size() - pattern_.size();  // last possible start
    const char first = pattern_[firstProbe_];
    const char second = pattern_[secondProbe_];
    const __m256i firstByte = _mm256_set1_epi8(first);
    const __m256i firstCase = _mm256_set1_epi8(caseBit(first));
    const __m256i secondByte = _mm256_set1_epi8(second);
    const __m256i secondCase = _mm256_set1_epi8(caseBit(second));
    for (; start + 32 <= last + 1; start += 32) {
        const auto* firstAt = reinterpret_cast<const __m256i*>(text.data() + start + firstProbe_);
        const auto* secondAt = reinterpret_cast<const __m256i*>(text.data() + start + secondProbe_);
        const __m256i firstHits =
            _mm256_cmpeq_epi8(_mm256_or_si256(_mm256_loadu_si256(firstAt), firstCase), firstByte);
        const __m256i secondHits = _mm256_cmpeq_epi8(
            _mm256_or_si256(_mm256_loadu_si256(secondAt), secondCase), secondByte);
        for (unsigned candidates = _mm256_movemask_epi8(_mm256_and_si256(firstHits, secondHits));
             candidates != 0; candidates &= candidates - 1) {
            const std::size_t at = start + std::countr_zero(candidates);
            if (matchesAt(text.data() + at)) return at;
        }
    }
    return findPlainly(text, start);
}

#endif

std::size_t BytePattern::findPlainly(std::string_view text, std::size_t start) const {
    for (; start + pattern_.size() <= text.size(); ++start) {
        if (matchesAt(text.data() + start)) return start;
    }
    return std::string_view::npos;
}

std::size_t BytePattern::findIn(std::string_view text, std::size_t from) const {
    if (text.size() < pattern_.size()) return std::string_view::npos;
#if QUILLSCAN_HAS_AVX2_CODE
    if (hasAvx2()) return findInAvx2(text, from);
#endif
    return findPlainly(text, from);
}

}  // namespace quillscan

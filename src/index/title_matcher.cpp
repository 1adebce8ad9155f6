#include "index/title_matcher.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "index/lower_case.h"
#include "index/utf8.h"

namespace quillscan {

namespace {

bool isSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }
bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool isAsciiLetter(char16_t unit) { return (unit | 0x20) >= u'a' && (unit | 0x20) <= u'z'; }

// What the lower-case table says about who lowers into what, gathered once.
struct LoweringFacts {
    // Units that some other unit lowers to.
    std::vector<bool> hasOtherPreimage = std::vector<bool>(0x10000);
    // UTF-8 of the non-ASCII units that lower into ASCII, by the ASCII unit they lower to.
    std::array<std::vector<std::string>, 0x80> nonAsciiPreimages;

    LoweringFacts() {
        for (char32_t unit = 0; unit < 0x10000; ++unit) {
            const char16_t original = static_cast<char16_t>(unit);
            const char16_t lowered = toLowerUnit(original);
            if (lowered == original) continue;
            hasOtherPreimage[lowered] = true;
            if (lowered < 0x80 && original >= 0x80)
                nonAsciiPreimages[lowered].push_back(utf16ToUtf8(std::u16string(1, original)));
        }
    }
};

const LoweringFacts& loweringFacts() {
    static const LoweringFacts facts;
    return facts;
}

// True when every unit of the lowered query matches only itself in a title, ASCII letters
// aside (they match both cases, which the byte comparison handles), and the query's surrogates
// form pairs, so that a byte search on UTF-8 decides the match exactly.
bool canMatchBytes(std::u16string_view loweredQuery) {
    const LoweringFacts& facts = loweringFacts();
    for (std::size_t i = 0; i < loweredQuery.size(); ++i) {
        const char16_t unit = loweredQuery[i];
        if (isHighSurrogate(unit) && i + 1 < loweredQuery.size() &&
            isLowSurrogate(loweredQuery[i + 1])) {
            ++i;
            continue;
        }
        if (isSurrogate(unit)) return false;
        if (unit >= 0x80 && facts.hasOtherPreimage[unit]) return false;
    }
    return true;
}

char foldAscii(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte; }

}  // namespace

TitleMatcher::TitleMatcher(std::u16string_view query) {
    loweredQuery_.reserve(query.size());
    for (char16_t unit : query) loweredQuery_ += toLowerUnit(unit);

    byteRoad_ = canMatchBytes(loweredQuery_);
    if (!byteRoad_) return;
    bytePattern_ = utf16ToUtf8(loweredQuery_);
    const LoweringFacts& facts = loweringFacts();
    for (char16_t unit : loweredQuery_) {
        if (unit >= 0x80) continue;
        if (isAsciiLetter(unit)) patternHasLetters_ = true;
        for (const std::string& preimage : facts.nonAsciiPreimages[unit])
            if (std::find(foreignPreimages_.begin(), foreignPreimages_.end(), preimage) ==
                foreignPreimages_.end())
                foreignPreimages_.push_back(preimage);
    }
}

bool TitleMatcher::matches(RawLine title) const {
    if (title.bytes.empty()) return false;
    if (byteRoad_ && title.wellFormed && !holdsForeignPreimage(title.bytes))
        return matchesBytes(title.bytes);
    return containsIgnoringCase(decodeLine(title), loweredQuery_);
}

bool TitleMatcher::holdsForeignPreimage(std::string_view title) const {
    for (const std::string& preimage : foreignPreimages_)
        if (title.find(preimage) != std::string_view::npos) return true;
    return false;
}

bool TitleMatcher::matchesBytes(std::string_view title) const {
    std::string_view haystack = title;
    if (patternHasLetters_) {
        foldedTitle_.resize(title.size());
        std::transform(title.begin(), title.end(), foldedTitle_.begin(), foldAscii);
        haystack = foldedTitle_;
    }
    return ::memmem(haystack.data(), haystack.size(), bytePattern_.data(), bytePattern_.size()) !=
           nullptr;
}

bool TitleMatcher::containsIgnoringCase(std::u16string_view title,
                                        std::u16string_view loweredQuery) {
    if (title.empty() || loweredQuery.size() > title.size()) return false;
    std::u16string lowered(title);
    for (char16_t& unit : lowered) unit = toLowerUnit(unit);
    return lowered.find(loweredQuery) != std::u16string::npos;
}

}  // namespace quillscan

#include "index/lower_case.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace quillscan {
namespace {

constexpr const char* kUnicodeDataPath = "/usr/share/unicode/UnicodeData.txt";
constexpr std::size_t kUnitCount = 0x10000;

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    std::string field;
    while (std::getline(stream, field, ';')) fields.push_back(field);
    if (!line.empty() && line.back() == ';') fields.emplace_back();
    return fields;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// The simple lower-case mapping of every BMP code point, read independently of the
// generated table. Code points between a "<..., First>" and its "<..., Last>" entry share
// the First entry's mapping; code points not listed map to themselves.
std::optional<std::vector<char16_t>> readLowerCaseMapping() {
    std::ifstream file(kUnicodeDataPath);
    if (!file) return std::nullopt;
    std::vector<char16_t> lower(kUnitCount);
    for (std::size_t unit = 0; unit < kUnitCount; ++unit) lower[unit] = static_cast<char16_t>(unit);

    std::string line;
    unsigned long rangeFirst = 0;
    std::string rangeLower;
    while (std::getline(file, line)) {
        const std::vector<std::string> fields = splitFields(line);
        if (fields.size() < 14) continue;
        const unsigned long codePoint = std::stoul(fields[0], nullptr, 16);
        const std::string& name = fields[1];
        unsigned long first = codePoint;
        std::string lowerField = fields[13];
        if (endsWith(name, ", First>")) {
            rangeFirst = codePoint;
            rangeLower = lowerField;
            continue;
        }
        if (endsWith(name, ", Last>")) {
            first = rangeFirst;
            lowerField = rangeLower;
        }
        if (lowerField.empty()) continue;
        for (unsigned long point = first; point <= codePoint && point < kUnitCount; ++point) {
            lower[point] = static_cast<char16_t>(std::stoul(lowerField, nullptr, 16));
        }
    }
    return lower;
}

std::string hex(char16_t unit) {
    std::ostringstream text;
    text << "U+" << std::hex << std::uppercase << static_cast<unsigned>(unit);
    return text.str();
}

TEST(LowerCaseTest, EveryCodeUnitMapsToItsSimpleLowerCase) {
    const std::optional<std::vector<char16_t>> expected = readLowerCaseMapping();
    if (!expected) GTEST_SKIP() << kUnicodeDataPath << " is missing (Debian package unicode-data)";

    int mismatches = 0;
    for (std::size_t unit = 0; unit < kUnitCount; ++unit) {
        const char16_t actual = toLowerUnit(static_cast<char16_t>(unit));
        if (actual == (*expected)[unit]) continue;
        if (++mismatches <= 20) {
            ADD_FAILURE() << hex(static_cast<char16_t>(unit)) << " maps to " << hex(actual)
                          << ", expected " << hex((*expected)[unit]);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(LowerCaseTest, CasesThatDifferFromCaseFolding) {
    struct Case {
        char16_t unit;
        char16_t lower;
        const char* what;
    };
    const Case cases[] = {
        {u'A', u'a', "ASCII capital"},
        {u'z', u'z', "ASCII small letter stays"},
        {u'1', u'1', "digit stays"},
        {u'\u212A', u'k', "Kelvin sign"},
        {u'\u0130', u'i', "capital I with dot above"},
        {u'\u03A3', u'\u03C3', "capital sigma"},
        {u'\u03C2', u'\u03C2', "final sigma stays"},
        {u'\u017F', u'\u017F', "long s stays"},
        {u'\u1E9E', u'\u00DF', "capital sharp s"},
        {u'\u4E2D', u'\u4E2D', "CJK ideograph stays"},
        {static_cast<char16_t>(0xD801), static_cast<char16_t>(0xD801), "high surrogate stays"},
        {static_cast<char16_t>(0xDC00), static_cast<char16_t>(0xDC00), "low surrogate stays"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hex(toLowerUnit(c.unit)), hex(c.lower)) << c.what;
    }
}

}  // namespace
}  // namespace quillscan

#include "cli/json.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace quillscan {
namespace {

using namespace std::string_literals;

TEST(JsonStringTest, EscapesWhatJsonRequiresAndKeepsTheRest) {
    struct Case {
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"", R"("")"},
        {"plain text", R"("plain text")"},
        {R"(say "hi")", R"("say \"hi\"")"},
        {R"(C:\dir\)", R"("C:\\dir\\")"},
        {"\n\r\t\b\f", R"("\n\r\t\b\f")"},
        {"a\x01z\x1f", R"("a\u0001z\u001f")"},
        {"a\0b"s, R"("a\u0000b")"},
        {"\x7f", "\"\x7f\""},
        {"中文 é", R"("中文 é")"},
        {"\u2028\u2029", "\"\u2028\u2029\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        std::string out;
        appendJsonString(out, c.input);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(JsonStringTest, AppendsBehindExistingText) {
    std::string out = "{\"k\": ";
    appendJsonString(out, "v");
    EXPECT_EQ(out, R"({"k": "v")");
}

}  // namespace
}  // namespace quillscan

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/utf8.h"
#include "window/link_command.h"

namespace quillscan {

void PrintTo(const CommandLine& command, std::ostream* out) {
    *out << "program [" << utf16ToUtf8(command.program) << "] arguments";
    for (const std::u16string& argument : command.arguments) {
        *out << " [" << utf16ToUtf8(argument) << "]";
    }
}

namespace {

TEST(CommandLineForLinkTest, WrapsAnyLinkThatDoesNotStartWithAQuote) {
    EXPECT_EQ(commandLineForLink(u"https://bbs.example.com/thread-1"),
              u"\"https://bbs.example.com/thread-1\"");
    EXPECT_EQ(commandLineForLink(u"C:\\Program Files\\x.exe -v"),
              u"\"C:\\Program Files\\x.exe -v\"");
    EXPECT_EQ(commandLineForLink(u"a\"b"), u"\"a\"b\"");
    EXPECT_EQ(commandLineForLink(u""), u"\"\"");
    EXPECT_EQ(commandLineForLink(u" \"x\""), u"\" \"x\"\"") << "a leading space is not a quote";
}

TEST(CommandLineForLinkTest, KeepsALinkThatStartsWithAQuote) {
    EXPECT_EQ(commandLineForLink(u"\"/opt/x\" a b"), u"\"/opt/x\" a b");
    EXPECT_EQ(commandLineForLink(u"\""), u"\"");
}

struct SplitCase {
    const char* name;
    std::u16string_view line;
    CommandLine expected;
};

const SplitCase kSplitCases[] = {
    {"Empty", u"", {u"", {}}},
    {"BareProgram", u"prog", {u"prog", {}}},
    {"QuotedProgramKeepsSpaces", u"\"/opt/my app/run\"", {u"/opt/my app/run", {}}},
    {"UnterminatedQuotedProgram", u"\"/opt/run a", {u"/opt/run a", {}}},
    {"EmptyQuotedProgram", u"\"\" a", {u"", {u"a"}}},
    {"ProgramEndsAtBlankOrTab", u"prog\targ", {u"prog", {u"arg"}}},
    {"LeadingBlankGivesEmptyProgram", u" prog", {u"", {u"prog"}}},
    {"BackslashesInProgramArePlain", u"\"C:\\dir\\\" arg", {u"C:\\dir\\", {u"arg"}}},
    {"QuoteInsideBareProgramIsPlain", u"pro\"g a", {u"pro\"g", {u"a"}}},
    {"TextRightAfterClosingQuoteStartsAnArgument", u"\"a\"b c", {u"a", {u"b", u"c"}}},
    {"BlanksAndTabsSeparateArguments", u"p  one \t two  ", {u"p", {u"one", u"two"}}},
    {"QuotedArgumentKeepsSpaces",
     u"p \"arg with space\" plain",
     {u"p", {u"arg with space", u"plain"}}},
    {"QuotesJoinWithTheirNeighbours", u"p a\"b c\"d", {u"p", {u"ab cd"}}},
    {"EmptyQuotedArgument", u"p \"\" x", {u"p", {u"", u"x"}}},
    {"UnterminatedQuoteRunsToTheEnd", u"p \"a b", {u"p", {u"a b"}}},
    {"EscapedQuote", u"p a\\\"b", {u"p", {u"a\"b"}}},
    {"EvenBackslashesBeforeQuoteAreHalved", u"p \"a\\\\\" b", {u"p", {u"a\\", u"b"}}},
    {"OddBackslashesBeforeQuoteGiveAQuote", u"p a\\\\\\\"b", {u"p", {u"a\\\"b"}}},
    {"BackslashesElsewhereArePlain",
     u"p C:\\dir\\\\file \\\\",
     {u"p", {u"C:\\dir\\\\file", u"\\\\"}}},
    {"DoubledQuoteInsideQuotesIsLiteralAndCloses", u"p \"a\"\"b c\"", {u"p", {u"a\"b", u"c"}}},
    {"TripledQuoteOutsideQuotesIsOneLiteral", u"p \"\"\"a b", {u"p", {u"\"a", u"b"}}},
    {"ShellCharactersStayText",
     u"\"/x/run\" ; $(rm -rf ~) `id` | cat > f && x",
     {u"/x/run", {u";", u"$(rm", u"-rf", u"~)", u"`id`", u"|", u"cat", u">", u"f", u"&&", u"x"}}},
    {"NonAsciiArgument", u"p \"链接 一\"", {u"p", {u"链接 一"}}},
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsLikeWindowsPrograms) {
    EXPECT_EQ(splitCommandLine(GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SplitCommandLineTest, ::testing::ValuesIn(kSplitCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WorkingDirectoryForLinkTest, IsTheTextUpToTheLastBackslashAfterTheFirstCharacter) {
    EXPECT_EQ(workingDirectoryForLink(u"C:\\docs\\a\\file.txt"), u"C:\\docs\\a\\");
    EXPECT_EQ(workingDirectoryForLink(u"\"C:\\my app\\run.exe\" -x"), u"\"C:\\my app\\");
    EXPECT_EQ(workingDirectoryForLink(u"docs\\"), u"docs\\");
    EXPECT_EQ(workingDirectoryForLink(u"\\\\server\\share"), u"\\\\server\\");
    EXPECT_EQ(workingDirectoryForLink(u"\\file"), u"") << "a backslash only at the start";
    EXPECT_EQ(workingDirectoryForLink(u"https://bbs.example.com/thread-1"), u"");
    EXPECT_EQ(workingDirectoryForLink(u""), u"");
}

}  // namespace
}  // namespace quillscan

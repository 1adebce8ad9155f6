#include "window/link_command.h"

#include <algorithm>
#include <utility>

namespace quillscan {
namespace {

constexpr std::u16string_view kBlanks = u" \t";

bool isBlank(char16_t c) {
    return kBlanks.find(c) != std::u16string_view::npos;
}

// Reads the program name at the start of `line` into `program`; returns where the rest begins.
std::size_t readProgramName(std::u16string_view line, std::u16string& program) {
    if (!line.empty() && line.front() == u'"') {
        const std::size_t close = line.find(u'"', 1);
        if (close == std::u16string_view::npos) {
            program = line.substr(1);
            return line.size();
        }
        program = line.substr(1, close - 1);
        return close + 1;
    }
    const std::size_t end = std::min(line.find_first_of(kBlanks), line.size());
    program = line.substr(0, end);
    return end;
}

// Splits what follows the program name by the quote and backslash rules.
std::vector<std::u16string> splitArguments(std::u16string_view text) {
    std::vector<std::u16string> arguments;
    std::u16string current;
    bool inArgument = false;
    bool quoted = false;
    std::size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (isBlank(c) && !quoted) {
            if (inArgument) arguments.push_back(std::exchange(current, {}));
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == u'\\') {
            const std::size_t runEnd = std::min(text.find_first_not_of(u'\\', i), text.size());
            const std::size_t count = runEnd - i;
            const bool beforeQuote = runEnd < text.size() && text[runEnd] == u'"';
            current.append(beforeQuote ? count / 2 : count, u'\\');
            i = runEnd;
            if (beforeQuote && count % 2 == 1) {
                current.push_back(u'"');
                ++i;
            }
            continue;
        }
        if (c == u'"') {
            const bool doubled = i + 1 < text.size() && text[i + 1] == u'"';
            if (quoted && doubled) {
                current.push_back(u'"');
                quoted = false;
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        current.push_back(c);
        ++i;
    }
    if (inArgument) arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace

std::u16string commandLineForLink(std::u16string_view link) {
    if (link.starts_with(u'"')) return std::u16string(link);
    std::u16string line;
    line.reserve(link.size() + 2);
    line.push_back(u'"');
    line.append(link);
    line.push_back(u'"');
    return line;
}

CommandLine splitCommandLine(std::u16string_view commandLine) {
    CommandLine result;
    const std::size_t rest = readProgramName(commandLine, result.program);
    result.arguments = splitArguments(commandLine.substr(rest));
    return result;
}

std::u16string_view workingDirectoryForLink(std::u16string_view link) {
    const std::size_t lastBackslash = link.rfind(u'\\');
    if (lastBackslash == std::u16string_view::npos || lastBackslash == 0) return {};
    return link.substr(0, lastBackslash + 1);
}

}  // namespace quillscan

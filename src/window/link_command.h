// How a result's link becomes a program to start: the command line built from the link, its
// split into program and arguments, and the folder handed along to the default handler.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillscan {

struct CommandLine {
    std::u16string program;
    std::vector<std::u16string> arguments;

    bool operator==(const CommandLine&) const = default;
};

// A link that starts with a double quote already is a command line; any other link is one
// program name and gets wrapped in double quotes, spaces and all.
std::u16string commandLineForLink(std::u16string_view link);

// Splits a command line the way Windows programs receive it (CommandLineToArgvW):
// - the program name runs from an opening quote to the next quote, or else to the first space
//   or tab; backslashes and quotes inside it are plain characters;
// - each argument after it ends at a space or tab outside quotes; a quote opens or closes a
//   quoted part and is dropped, and "" inside a quoted part is one literal quote that also
//   closes the part;
// - 2n backslashes before a quote become n backslashes and the quote keeps its meaning;
//   2n+1 backslashes before a quote become n backslashes and a literal quote; backslashes
//   anywhere else are plain characters.
// Nothing else is special: no shell ever reads the line, so ; | $ ` and the like stay text.
CommandLine splitCommandLine(std::u16string_view commandLine);

// The text up to and including the last backslash, when the link holds a backslash after its
// first character; otherwise empty.
std::u16string_view workingDirectoryForLink(std::u16string_view link);

}  // namespace quillscan

// The two desktop services that open a link: starting a program, and the default handler.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillscan {

class LinkLauncher {
public:
    virtual ~LinkLauncher() = default;

    // Starts `program` with `arguments` as a new process that runs on its own (never waited for,
    // never left as a zombie), with the program's environment and working directory. No shell
    // reads the arguments. True when the process started.
    virtual bool startProcess(std::u16string_view program,
                              const std::vector<std::u16string>& arguments) = 0;

    // Hands `name` to the desktop's default handler for its kind (the web browser for a web
    // address) without waiting for it. `workingDirectory` is the folder the name came with, or
    // empty. True when the handler took the name.
    virtual bool openWithDefaultHandler(std::u16string_view name,
                                        std::u16string_view workingDirectory) = 0;
};

// The launcher of the desktop the program runs on.
LinkLauncher& desktopLinkLauncher();

}  // namespace quillscan

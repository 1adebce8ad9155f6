// What the program does with a result's link: copy it, or open it.
#pragma once

#include <string_view>

#include "window/link_launcher.h"

namespace quillscan {

class LinkActions {
public:
    virtual ~LinkActions() = default;

    // Neither reports failure: a link that cannot be copied or opened is skipped silently.
    virtual void copyLink(std::u16string_view link) = 0;  // onto the system clipboard
    virtual void openLink(std::u16string_view link) = 0;  // as a program or by its default handler
};

// The link actions on this desktop: the system clipboard, and programs or default handlers
// started through `launcher`.
class DesktopLinkActions : public LinkActions {
public:
    explicit DesktopLinkActions(LinkLauncher& launcher = desktopLinkLauncher());

    // The link replaces the clipboard's content as plain text; without a clipboard (no GUI
    // application) nothing happens.
    void copyLink(std::u16string_view link) override;

    // Starts the link's command line (commandLineForLink) as a program with its arguments; if
    // that does not start, hands the link as stored to the default handler, with the folder of
    // workingDirectoryForLink. When both fail nothing happens.
    void openLink(std::u16string_view link) override;

private:
    LinkLauncher& launcher_;
};

}  // namespace quillscan

#include "window/link_actions.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

#include "window/link_command.h"
#include "window/qt_text.h"

namespace quillscan {

DesktopLinkActions::DesktopLinkActions(LinkLauncher& launcher) : launcher_(launcher) {}

void DesktopLinkActions::copyLink(std::u16string_view link) {
    // QGuiApplication::clipboard() must not be asked inside a plain QCoreApplication.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return;
    QGuiApplication::clipboard()->setText(toQString(link), QClipboard::Clipboard);
}

void DesktopLinkActions::openLink(std::u16string_view link) {
    const CommandLine command = splitCommandLine(commandLineForLink(link));
    if (launcher_.startProcess(command.program, command.arguments)) return;
    launcher_.openWithDefaultHandler(link, workingDirectoryForLink(link));
}

}  // namespace quillscan

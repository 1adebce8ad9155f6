// The desktop's launcher on Qt: QProcess for programs, QDesktopServices for the default handler.
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include "window/link_launcher.h"
#include "window/qt_text.h"

namespace quillscan {
namespace {

class DesktopLinkLauncher : public LinkLauncher {
public:
    bool startProcess(std::u16string_view program,
                      const std::vector<std::u16string>& arguments) override {
        QStringList qtArguments;
        qtArguments.reserve(static_cast<qsizetype>(arguments.size()));
        for (const std::u16string& argument : arguments) qtArguments.append(toQString(argument));
        // Detached: on Unix the child is forked twice, so it is never ours to reap.
        return QProcess::startDetached(toQString(program), qtArguments);
    }

    // The desktop services take no working directory for the handler they start, so the one
    // that comes with the link goes unused here. A relative name of a file in the current
    // folder opens that file; other names are read as a web address or an absolute path.
    bool openWithDefaultHandler(std::u16string_view name, std::u16string_view) override {
        // The desktop services exist only within a GUI application.
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
        const QUrl url = QUrl::fromUserInput(toQString(name), QDir::currentPath());
        return url.isValid() && QDesktopServices::openUrl(url);
    }
};

}  // namespace

LinkLauncher& desktopLinkLauncher() {
    static DesktopLinkLauncher launcher;
    return launcher;
}

}  // namespace quillscan

// Start-up benchmark, the program's side: starts exactly as quillscan does and exits as soon as
// the window is on the screen with the focus in the search box. Run in a folder with an index.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QWindow>

#include "window/link_launcher.h"
#include "window/list_font.h"
#include "window/search_program.h"
#include "window/startup.h"

int main(int argc, char* argv[]) {
    using namespace quillscan;

    QApplication app(argc, argv);
    if (!indexFilePresent()) return 1;
    QApplication::setQuitOnLastWindowClosed(false);
    const QFont listFont = createListFont(displayVerticalDpi());
    SearchProgram program(listFont, kIndexFileName, desktopLinkLauncher(), [] {});

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QWindow* window = program.window().windowHandle();
        const bool focused = qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
        if (window != nullptr && window->isExposed() && focused) QApplication::exit(0);
    });
    poll.start(0);
    return QApplication::exec();
}

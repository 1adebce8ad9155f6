// quillscan: searches the titles of the thread index in the current folder.
#include <QApplication>

#include "window/error_box.h"
#include "window/list_font.h"
#include "window/search_program.h"
#include "window/startup.h"

int main(int argc, char* argv[]) {
    using namespace quillscan;

    QApplication app(argc, argv);
    if (!indexFilePresent()) {
        showErrorBox(nullptr, kMissingIndexMessage);
        return 0;
    }

    // The event loop ends when the dispatcher says so, not when Qt sees no window left.
    QApplication::setQuitOnLastWindowClosed(false);
    const QFont listFont = createListFont(displayVerticalDpi());
    const SearchProgram program(listFont, kIndexFileName, desktopLinkLauncher(),
                                [] { QApplication::exit(0); });

    QApplication::exec();
    return 0;
}

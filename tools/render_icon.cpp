// Writes the program's icon, as the window shows it, to PNG files for the desktop's icon theme
// and for tools/make_ico.py. Usage: render_icon FOLDER SIZE...  (writes FOLDER/quillscan-SIZE.png)
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QStringList>
#include <cstdio>

#include "window/program_icon.h"

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: render_icon FOLDER SIZE...\n", stderr);
        return 2;
    }
    const QDir folder(args[1]);
    const QIcon icon = quillscan::programIcon();
    for (const QString& sizeText : args.mid(2)) {
        bool valid = false;
        const int size = sizeText.toInt(&valid);
        const QString file = folder.filePath(QStringLiteral("quillscan-%1.png").arg(size));
        const QPixmap pixmap = icon.pixmap(size);
        if (!valid || pixmap.width() != size || !pixmap.save(file, "PNG")) {
            std::fprintf(stderr, "render_icon: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

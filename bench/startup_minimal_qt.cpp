// Start-up benchmark, the reference: the least a Qt Widgets program does to show one empty
// window, exiting as soon as the window is on the screen.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1000, 500);
    window.show();

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QWindow* handle = window.windowHandle();
        if (handle != nullptr && handle->isExposed()) QApplication::exit(0);
    });
    poll.start(0);
    return QApplication::exec();
}

// Run on an offscreen screen of 1920 x 1080 (data/wide_screen.json): the window is centred.
#include <QScreen>
#include <QTest>

#include "window_fixture.h"

class WindowCentringTest : public QObject {
    Q_OBJECT

private slots:
    void centredOnWideScreen();
};

void WindowCentringTest::centredOnWideScreen() {
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(0, 0, 1920, 1080));
    const auto window = quillscan::test::openSearchWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));

    // Offscreen windows have a frame of 2 pixels on every side: the outer 1004 x 504 is centred.
    QCOMPARE(window->frameGeometry(), QRect(458, 288, 1004, 504));
    QCOMPARE(window->geometry(), QRect(460, 290, 1000, 500));
}

QTEST_MAIN(WindowCentringTest)
#include "test_window_centring.moc"

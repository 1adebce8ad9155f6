// What start-up decides before the window exists: the index check, the list font, the centring.
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "window/centring.h"
#include "window/list_font.h"
#include "window/startup.h"

namespace fs = std::filesystem;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void indexFilePresent_data();
    void indexFilePresent();
    void listFontHeightFollowsResolution_data();
    void listFontHeightFollowsResolution();
    void listFontIsPlainDefaultFace();
    void centredFramePosition_data();
    void centredFramePosition();
};

void StartupTest::indexFilePresent_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("present");

    QTest::newRow("absent") << "absent" << false;
    QTest::newRow("regular file") << "file" << true;
    QTest::newRow("empty file") << "empty" << true;
    QTest::newRow("directory") << "directory" << true;
    QTest::newRow("dangling symbolic link") << "dangling" << true;
}

void StartupTest::indexFilePresent() {
    QFETCH(QString, kind);
    QFETCH(bool, present);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const fs::path index = fs::path(folder.path().toStdString()) / quillscan::kIndexFileName;
    if (kind == "file") std::ofstream(index) << "t\nl\n";
    if (kind == "empty") std::ofstream{index};
    if (kind == "directory") fs::create_directory(index);
    if (kind == "dangling") fs::create_symlink("nowhere", index);

    QCOMPARE(quillscan::indexFilePresent(index), present);

    // The default name is looked up in the current folder.
    const fs::path previous = fs::current_path();
    fs::current_path(folder.path().toStdString());
    const bool presentByDefaultName = quillscan::indexFilePresent();
    fs::current_path(previous);
    QCOMPARE(presentByDefaultName, present);
}

void StartupTest::listFontHeightFollowsResolution_data() {
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<int>("pixels");

    QTest::newRow("72 dpi") << qreal(72) << 14;
    QTest::newRow("96 dpi") << qreal(96) << 19;
    QTest::newRow("120 dpi") << qreal(120) << 23;
    QTest::newRow("144 dpi") << qreal(144) << 28;
    QTest::newRow("192 dpi") << qreal(192) << 37;
}

void StartupTest::listFontHeightFollowsResolution() {
    QFETCH(qreal, dpi);
    QFETCH(int, pixels);

    QCOMPARE(quillscan::listFontPixelHeight(dpi), pixels);
    QCOMPARE(quillscan::createListFont(dpi).pixelSize(), pixels);
}

void StartupTest::listFontIsPlainDefaultFace() {
    const QFont font = quillscan::createListFont(96);
    QCOMPARE(font.family(), QFont().family());
    QCOMPARE(font.weight(), QFont::Normal);
    QVERIFY(!font.italic());
    QVERIFY(!font.underline());
    QVERIFY(!font.strikeOut());
}

void StartupTest::centredFramePosition_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("wide screen") << QSize(1920, 1080) << QSize(1000, 500) << QPoint(460, 290);
    QTest::newRow("odd remainder rounds down")
        << QSize(1281, 1025) << QSize(1000, 500) << QPoint(140, 262);
    QTest::newRow("frame exactly the screen")
        << QSize(1000, 500) << QSize(1000, 500) << QPoint(0, 0);
    QTest::newRow("frame wider than the screen")
        << QSize(800, 800) << QSize(1000, 500) << QPoint(0, 150);
    QTest::newRow("frame larger both ways") << QSize(640, 480) << QSize(1000, 500) << QPoint(0, 0);
}

void StartupTest::centredFramePosition() {
    QFETCH(QSize, screen);
    QFETCH(QSize, frame);
    QFETCH(QPoint, position);

    QCOMPARE(quillscan::centredFramePosition(screen, frame), position);
}

QTEST_MAIN(StartupTest)
#include "test_startup.moc"

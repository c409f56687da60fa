// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The wave-map viewer against the demo wave service: the fetch loop, Stop, the slider, and a
// window closed while its fetch runs; against a wave host that fails one map, what it says of it.
#include "gif_encoder.h"
#include "hostile_server.h"
#include "net/chart_names.h"
#include "side_window_fixture.h"
#include "windows/wave_map_window.h"

#include <QAccessible>
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <gtest/gtest.h>

using namespace side_windows_test;

namespace {

const QString WavePath = QStringLiteral("/stc/itamerinyt/images/data/");

QImage shownImage(const QIcon& icon) {
    return icon.pixmap(QSize(24, 24)).toImage();
}

// The main window with its wave viewer open, on a demo server of the given latency.
class WaveMapWindowTest : public ::testing::Test {
protected:
    void open(int latencyMs) {
        demo::ServerOptions options;
        options.latencyMs = latencyMs;
        server = startServer(options);
        fixture.folder.write(QStringLiteral("brisel.ini"), testing_support::hostsAt(server->baseUrl()));
        openForm();
    }

    void openWithWaveHost(const QString& waveBase) {
        fixture.folder.write(QStringLiteral("brisel.ini"), "[hosts]\nwave=" + waveBase.toUtf8() + "\n");
        openForm();
    }

    void openForm() {
        form = &fixture.start();
        ui(*form).Command1->click();
        window = form->findChild<WaveMapWindow*>(QStringLiteral("iltamerinyt"));
        ASSERT_FALSE(window.isNull());
    }

    QString mapFile(int index) const { return fixture.folder.chartFolder() + waveMapFile(index); }

    void fetchMap(int index) {
        ASSERT_TRUE(QCoro::waitFor(fixture.downloaderInstance->downloadi(
            waveMapUrl(server->baseUrl(), index).toString(), mapFile(index))));
    }

    QString dlTime() const { return fixture.texts->keeltekst(QStringLiteral("DLtime")); }
    QString startCaption() const { return fixture.texts->keeltekst(QStringLiteral("startdl")); }
    QString message() const { return window->StatusBar->currentMessage(); }
    QString text(const char* key, const QString& map = {}) const {
        return fixture.texts->keeltekst(QString::fromLatin1(key), {map});
    }

    std::unique_ptr<demo::DemoServer> server;
    Form1Fixture fixture;
    Form1* form = nullptr;
    QPointer<WaveMapWindow> window;
};

} // namespace

// Opened on an empty folder, the viewer says what its button would fetch and names its controls,
// and the map of each lead time, for a screen reader.
TEST_F(WaveMapWindowTest, OpensEmptyWithoutMapsAndSaysWhatItsButtonFetches) {
    open(0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Iltameri nyt"));
    EXPECT_EQ(window->Slider1->minimum(), 1);
    EXPECT_EQ(window->Slider1->maximum(), 18);
    EXPECT_EQ(window->Slider1->orientation(), Qt::Vertical);
    EXPECT_TRUE(window->Picture1->pixmap().isNull());
    EXPECT_TRUE(message().contains(startCaption()) && message().contains(QStringLiteral("54")))
        << "an empty window says what its button fetches: " << message().toStdString();
    EXPECT_EQ(window->Command2->text(), startCaption());
    for (QWidget* control :
         std::initializer_list<QWidget*>{window->Picture1, window->Slider1, window->Command2}) {
        const QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty()) << control->objectName().toStdString();
    }
    const QString nearest = QAccessible::queryAccessibleInterface(window->Picture1)->text(QAccessible::Name);
    window->Slider1->setValue(9);
    const QString ninth = QAccessible::queryAccessibleInterface(window->Picture1)->text(QAccessible::Name);
    EXPECT_TRUE(ninth.contains(QStringLiteral("27")) && !nearest.contains(QStringLiteral("27")))
        << nearest.toStdString() << " / " << ninth.toStdString();
}

// Each position shows its map with the time it was fetched; an unreadable map keeps the picture
// before it and still tells its file's time, and a missing one clears the picture and names the map.
TEST_F(WaveMapWindowTest, EachPositionShowsItsMapWithItsTimeOrKeepsOrClearsThePicture) {
    open(0);
    fetchMap(1);
    fetchMap(18);
    window->Slider1->setValue(18);
    EXPECT_EQ(window->Picture1->pixmap().toImage(),
              QImage(mapFile(18)).convertToFormat(QImage::Format_RGB32));
    const QDateTime fetched = QFileInfo(mapFile(18)).lastModified();
    EXPECT_EQ(message(), dlTime() + QLatin1Char(' ') + fetched.toString(QStringLiteral("dd.MM.yyyy HH:mm")));
    window->Slider1->setValue(1);
    const QImage first = window->Picture1->pixmap().toImage();
    EXPECT_EQ(first, QImage(mapFile(1)).convertToFormat(QImage::Format_RGB32));

    fixture.folder.write(QStringLiteral("kaardid/") + waveMapFile(2), QByteArrayLiteral("not a picture"));
    window->Slider1->setValue(2);
    EXPECT_EQ(window->Picture1->pixmap().toImage(), first);
    EXPECT_TRUE(message().startsWith(dlTime())) << "the file's time is still told";
    window->Slider1->setValue(3);
    EXPECT_TRUE(window->Picture1->pixmap().isNull());
    EXPECT_TRUE(message().startsWith(QStringLiteral("wave09.gif (+9 h)"))) << message().toStdString();
    EXPECT_FALSE(message().contains(startCaption())) << "maps are stored, so the window is not empty";
}

// The slider holds the nearest lead time at the top: a click above the thumb and the keys that
// point up move it the same way, and those that point down the other.
TEST_F(WaveMapWindowTest, EveryKeyMovesTheThumbTheWayItPoints) {
    open(0);
    QSlider& slider = *window->Slider1;
    const int middle = 9;
    const auto moveFromMiddle = [&](const std::function<void()>& input) {
        slider.setValue(middle);
        input();
        return slider.value() - middle;
    };
    // The groove is only part of the slider's width; a click across the top row finds it.
    int clickAbove = 0;
    for (int x = 0; x < slider.width() && clickAbove == 0; ++x) {
        clickAbove = moveFromMiddle([&] { QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(x, 2)); });
    }
    ASSERT_NE(clickAbove, 0);
    for (const Qt::Key up : {Qt::Key_Up, Qt::Key_PageUp, Qt::Key_Home}) {
        const int moved = moveFromMiddle([&] { QTest::keyClick(&slider, up); });
        EXPECT_GT(moved * clickAbove, 0) << QKeySequence(up).toString().toStdString() << " moved " << moved;
    }
    for (const Qt::Key down : {Qt::Key_Down, Qt::Key_PageDown, Qt::Key_End}) {
        const int moved = moveFromMiddle([&] { QTest::keyClick(&slider, down); });
        EXPECT_LT(moved * clickAbove, 0) << QKeySequence(down).toString().toStdString() << " moved " << moved;
    }
}

// The wave host answers 500 for the map of +51 h and a picture for every other: the window tells
// why that map is missing, and beside a map kept from before, that it is not the newest.
TEST_F(WaveMapWindowTest, AFailedMapSaysWhyWithOrWithoutAnOlderOne) {
    const QByteArray map = demo::encodeGif(QImage(QSize(40, 40), QImage::Format_RGB32));
    testing_support::HostileServer waveHost([&](const testing_support::HostileRequest& request) {
        if (request.path.endsWith("wave51.gif")) {
            return testing_support::HostileReply{"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0",
                                                 {}};
        }
        return testing_support::HostileReply{
            "HTTP/1.1 200 OK\r\nContent-Type: image/gif\r\nContent-Length: " + QByteArray::number(map.size()),
            map};
    });
    openWithWaveHost(waveHost.base());
    window->Command2->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Command2->text() == startCaption(); }, PatienceMs));
    EXPECT_EQ(window->Slider1->value(), 18);
    EXPECT_FALSE(window->Picture1->pixmap().isNull());

    const QString failure = QStringLiteral("wave51.gif (+51 h): ") +
                            fixture.texts->keeltekst(QStringLiteral("reasonhttp")).arg(500);
    window->Slider1->setValue(17);
    EXPECT_TRUE(window->Picture1->pixmap().isNull());
    EXPECT_EQ(message(), failure);

    fixture.folder.write(QStringLiteral("kaardid/") + waveMapFile(17), map);
    window->Slider1->setValue(16);
    EXPECT_TRUE(message().startsWith(dlTime())) << message().toStdString();
    EXPECT_FALSE(message().contains(failure)) << "the map of +48 h came";
    window->Slider1->setValue(17);
    EXPECT_FALSE(window->Picture1->pixmap().isNull());
    EXPECT_TRUE(message().startsWith(dlTime()) && message().endsWith(failure)) << message().toStdString();
}

// Six at a time, the limits' default, and told in order: the slider ends on the last map.
TEST_F(WaveMapWindowTest, FetchesAllEighteenSideBySideAndRestoresTheButton) {
    open(50);
    QStringList told;
    QObject::connect(window->StatusBar, &QStatusBar::messageChanged, window,
                     [&](const QString& m) { told << m; });
    window->Command2->click();
    EXPECT_EQ(window->Command2->text(), text("wavestop"));
    EXPECT_EQ(window->Command2->property("tag").toString(), QStringLiteral("laadi"));
    EXPECT_EQ(shownImage(window->Command2->icon()),
              ui(*form).nupud->icon().pixmap(QSize(24, 24), QIcon::Disabled).toImage())
        << "the stop picture";
    const QString lastMap = QStringLiteral("wave54.gif (+54 h)");
    EXPECT_EQ(message(), text("wavedownloading", QStringLiteral("wave03.gif (+3 h)")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Command2->text() == startCaption(); }, PatienceMs));
    EXPECT_TRUE(told.contains(text("wavedownloading", lastMap)) && told.contains(text("waveok", lastMap)))
        << qPrintable(told.join(u'|'));
    QStringList expected;
    for (int k = 1; k <= WaveMapCount; ++k) {
        expected << WavePath + waveMapFile(k);
        EXPECT_TRUE(QFile::exists(mapFile(k))) << k;
    }
    QStringList requested = server->requestedPaths();
    requested.sort();
    EXPECT_EQ(requested.join(QLatin1Char(' ')).toStdString(), expected.join(QLatin1Char(' ')).toStdString());
    EXPECT_EQ(server->peakRequestsInFlight(), 6);
    EXPECT_EQ(window->Slider1->value(), 18);
    EXPECT_FALSE(window->Picture1->pixmap().isNull());
}

// Stop while the first six are on their way: they are stored whole, the first is shown, and no
// seventh is asked for.
TEST_F(WaveMapWindowTest, StopKeepsTheMapsOnTheirWayAndAsksForNoOther) {
    open(300);
    fixture.find<QAction>(QStringLiteral("läti"))->trigger();
    window->Command2->click();
    EXPECT_EQ(window->Command2->text(), text("wavestop"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->requestCount() == 6; }, PatienceMs));
    EXPECT_EQ(message(), text("wavedownloading", QStringLiteral("wave03.gif (+3 h)")));
    window->Command2->click();
    EXPECT_EQ(window->Command2->property("tag").toString(), QStringLiteral("stop"));
    EXPECT_FALSE(window->Command2->isEnabled());

    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Command2->isEnabled(); }, PatienceMs));
    QTest::qWait(300);
    EXPECT_EQ(requestsStartingWith(*server, WavePath).size(), 6)
        << qPrintable(server->requestedPaths().join(u' '));
    for (int k = 1; k <= 6; ++k) {
        EXPECT_FALSE(QImage(mapFile(k)).isNull()) << k;
    }
    EXPECT_FALSE(QFile::exists(mapFile(7)));
    EXPECT_EQ(window->Slider1->value(), 1);
    EXPECT_EQ(window->Picture1->pixmap().toImage(), QImage(mapFile(1)).convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(window->StatusBar->currentMessage().startsWith(dlTime()));
    EXPECT_EQ(window->Command2->text(), startCaption());
    EXPECT_EQ(shownImage(window->Command2->icon()),
              ui(*form).nupud->icon().pixmap(QSize(24, 24), QIcon::Normal).toImage());
}

TEST_F(WaveMapWindowTest, ClosingDuringAFetchEndsItWithoutTouchingTheWindow) {
    open(300);
    window->Command2->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->requestCount() == 6; }, PatienceMs));
    window->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isNull(); }, PatienceMs));
    QTest::qWait(600);
    EXPECT_EQ(server->requestCount(), 6) << "the fetch ended with its window";
    for (int k = 1; k <= 6; ++k) {
        EXPECT_TRUE(QFile::exists(mapFile(k))) << "the fetches under way still completed";
    }
    ui(*form).Command1->click();
    EXPECT_NE(form->findChild<WaveMapWindow*>(QStringLiteral("iltamerinyt")), nullptr)
        << "a new viewer opens";
}

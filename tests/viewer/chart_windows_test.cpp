// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "demo_server.h"
#include "form1_fixture.h"
#include "gif_encoder.h"
#include "net/chart_names.h"
#include "viewer/chart_display.h"
#include "viewer/display_texts.h"
#include "viewer/full_screen_chart.h"
#include "viewer/meteogram_window.h"

#include <QFile>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2007, 4, 10);

// The windows that show one picture of the main window larger: the full-screen chart and the
// meteogram window, each driven through the real main window.
class ChartWindowsTest : public ::testing::Test {
protected:
    ChartWindowsTest() { fixture.storeSetting(settings_table::kustutavanad.builtInCaption, 0); }

    // A chart of one colour, the one this hour and family have, where slider hour p looks first.
    void storeChart(int p, const QString& code = u"w"_s) {
        const QString path = viewer::providerCandidates(fixture.folder.chartFolder(), Today, p, code).first();
        QImage chart(468, 510, QImage::Format_RGB32);
        chart.fill(colourOf(p, code));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(demo::encodeGif(chart));
    }

    static QRgb colourOf(int p, const QString& code) {
        return qRgb(40 + 10 * (p % 20), code == u"w"_s ? 30 : 200, 90);
    }

    Form1Fixture fixture{QDateTime(Today, QTime(12, 0))};
};

// What the view shows in its middle, however it draws the chart there.
QRgb middleOf(QWidget* view) {
    const QImage shown = view->grab().toImage();
    return shown.pixel(shown.rect().center());
}

TEST_F(ChartWindowsTest, TheFullScreenChartFollowsAndMovesTheSlider) {
    for (int p = 10; p <= 18; ++p) {
        storeChart(p);
    }
    storeChart(12, u"pc"_s);
    Form1& form = fixture.start();
    fixture.showHour(12);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F11);
    QPointer<FullScreenChart> view = form.findChild<FullScreenChart*>();
    ASSERT_FALSE(view.isNull());
    EXPECT_TRUE(view->isFullScreen());
    EXPECT_EQ(middleOf(view), colourOf(12, u"w"_s));
    EXPECT_TRUE(view->accessibleName().endsWith(viewer::momentText(*fixture.texts, Today, 12)))
        << view->accessibleName().toStdString();

    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Right, 13},  {Qt::Key_Up, 14},     {Qt::Key_Left, 13},    {Qt::Key_Down, 12},
        {Qt::Key_PageUp, 15}, {Qt::Key_PageUp, 18}, {Qt::Key_PageDown, 15}};
    for (const auto& [key, hour] : steps) {
        QTest::keyClick(view, key);
        ASSERT_EQ(ui(form).Slider1->value(), hour) << QKeySequence(key).toString().toStdString();
        EXPECT_EQ(middleOf(view), colourOf(hour, u"w"_s)) << hour;
        EXPECT_TRUE(view->accessibleName().endsWith(viewer::momentText(*fixture.texts, Today, hour)));
    }
    EXPECT_EQ(form.windowTitle(), viewer::windowCaption(fixture.formats, Today, 15));

    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_TRUE(ui(form).Timer1->isActive());
    form.chartView().Timer1_Timer();
    EXPECT_EQ(middleOf(view), colourOf(16, u"w"_s)) << "a step of the animation";
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_FALSE(ui(form).Timer1->isActive());

    fixture.showHour(14);
    ui(form).miskaart->setCurrentIndex(3);
    EXPECT_NE(middleOf(view), colourOf(14, u"w"_s)) << "no rain chart is stored for 14:00";
    fixture.showHour(12);
    EXPECT_EQ(middleOf(view), colourOf(12, u"pc"_s));

    QTest::keyClick(view, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.isNull(); }, 1000));
    EXPECT_EQ(ui(form).Slider1->value(), 12);

    fixture.find<QAction>(u"täisekraan"_s)->trigger();
    view = form.findChild<FullScreenChart*>();
    ASSERT_FALSE(view.isNull());
    EXPECT_EQ(middleOf(view), colourOf(12, u"pc"_s));
    QTest::keyClick(view, Qt::Key_F11);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view.isNull(); }, 1000));

    fixture.find<QAction>(u"täisekraan"_s)->trigger();
    view = form.findChild<FullScreenChart*>();
    ASSERT_FALSE(view.isNull());
    fixture.close();
    EXPECT_TRUE(view.isNull());
}

// The demo provider answers the meteograms' double-click; a single click opens a window.
class MeteogramWindowTest : public ChartWindowsTest {
protected:
    MeteogramWindowTest() {
        demo::ServerOptions options;
        options.now = QDateTime(Today, QTime(12, 0));
        server = std::make_unique<demo::DemoServer>(options);
        EXPECT_TRUE(server->start(0));
        const QString base = server->baseUrl().toString();
        fixture.folder.write(u"brisel.ini"_s,
                             u"[hosts]\nprovider=%1\nmarevo=%1\nwave=%1\nhome=%1\n"_s.arg(base).toUtf8());
        fixture.folder.write(
            u"spots.ini"_s,
            "[Tartu]\nlon=26.729\nlat=58.378\nelev=57\n[Pärnu]\nlon=24.5\nlat=58.38\nelev=3\n");
        fixture.storeSetting(settings_table::QuellanUser.name, u"demo"_s);
        fixture.storeSetting(settings_table::QuellanPassword.name, u"demo"_s);
    }

    MeteogramWindow* window() const { return fixture.form->findChild<MeteogramWindow*>(); }

    // The window shows the stored meteogram of that spot and day, under its name.
    bool showsMeteogram(const QString& spot, int day) const {
        if (!window()) {
            return false;
        }
        const QDate date = Today.addDays(day);
        const QImage stored(chartPath(fixture.folder.chartFolder(), spotPictureFile(date, spot)));
        const auto* picture = window()->findChild<QLabel*>(u"meteogramPicture"_s);
        return !stored.isNull() && window()->isVisible() &&
               window()->windowTitle() == viewer::meteogramName(*fixture.texts, spot, date) &&
               picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
                   stored.convertToFormat(QImage::Format_RGB32);
    }

    std::unique_ptr<demo::DemoServer> server;
};

TEST_F(MeteogramWindowTest, AClickOpensOneWindowThatFollowsTheDayAndTheCityADoubleClickFetches) {
    Form1& form = fixture.start();
    const auto spotRequests = [this] {
        return server->requestedPaths().filter(u"lat=58.378&"_s).size();
    };
    doubleClickAsAUserDoes(ui(form).halograaf1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui(form).halograaf1->pixmap().isNull(); }, 10000));
    EXPECT_EQ(spotRequests(), 1);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(window(), nullptr) << "a double-click opens no window";

    fixture.showHour(12);
    QTest::mouseClick(ui(form).halograaf2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window() && window()->isVisible(); }, 2000));
    EXPECT_TRUE(showsMeteogram(u"Tartu"_s, 1));
    // The slider's next day moves the window's on by one.
    fixture.showHour(30);
    EXPECT_TRUE(showsMeteogram(u"Tartu"_s, 2));
    ui(form).linn->setCurrentText(u"Pärnu"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsMeteogram(u"Pärnu"_s, 2); }, 2000));
    // The week's last day and the one after it: no meteogram is stored so far ahead.
    fixture.showHour(SliderMaximum);
    const auto* picture = window()->findChild<QLabel*>(u"meteogramPicture"_s);
    EXPECT_TRUE(picture->pixmap().isNull());
    EXPECT_EQ(picture->text(), fixture.texts->keeltekst(u"meteogrammissing"_s));
    EXPECT_EQ(window()->windowTitle(), viewer::meteogramName(*fixture.texts, u"Pärnu"_s, Today.addDays(8)));

    // A click on another meteogram takes the same window to that day.
    const QPointer<MeteogramWindow> first = window();
    fixture.showHour(12);
    QTest::mouseClick(ui(form).halograaf1, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return showsMeteogram(u"Pärnu"_s, 0); }, 2000));
    EXPECT_EQ(window(), first.data());
    EXPECT_EQ(form.findChildren<MeteogramWindow*>().size(), 1);

    ASSERT_TRUE(QTest::qWaitForWindowActive(first));
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isNull(); }, 1000));

    // Without a mouse: the meteogram Tab reaches opens on Enter.
    QApplication::setActiveWindow(&form);
    ui(form).halograaf3->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui(form).halograaf3, Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return showsMeteogram(u"Pärnu"_s, 2); }, 2000));
    const QPointer<MeteogramWindow> open = window();
    fixture.close();
    EXPECT_TRUE(open.isNull());
}

} // namespace

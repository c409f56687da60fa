// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "demo_server.h"
#include "form1_fixture.h"
#include "gif_encoder.h"
#include "model_runs.h"
#include "net/chart_names.h"
#include "net/file_origin.h"
#include "net/provider_requests.h"
#include "pictures.h"
#include "platform/program_folder.h"
#include "provider/spot_list.h"
#include "viewer/chart_display.h"
#include "viewer/display_texts.h"
#include "viewer/time_slider.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMap>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2007, 4, 10);

// A chart folder filled with the demo service's own pictures, each telling what it is.
class ViewerTest : public ::testing::Test {
protected:
    // Yesterday's charts stay: the clean-up at start-up is not what these tests look at.
    ViewerTest() : fixture(QDateTime(Today, QTime(12, 0))) {
        fixture.storeSetting(settings_table::kustutavanad.builtInCaption, 0);
    }

    QString storeProviderChart(const QDate& date, int hour, const QString& code = QStringLiteral("w")) {
        const QString path = halofail(fixture.folder.chartFolder(), date, hour, 0, code);
        const QDateTime valid(date, QTime(hour, 0));
        demo::ChartRequest chart{
            code, date.addDays(-1), 12,
            static_cast<int>(QDateTime(date.addDays(-1), QTime(12, 0)).secsTo(valid) / 3600)};
        writeFile(path, demo::encodeGif(demo::drawAreaChart(chart)));
        return path;
    }

    QString storeSailingMap(int sliderHour, const QString& code) {
        const SailingMap map = sailingMap(QUrl(), Today, sliderHour, code);
        const QString path = chartPath(fixture.folder.chartFolder(), map.fileName);
        writeFile(path, demo::encodeGif(demo::drawSailingMap(code, QDateTime(map.date, QTime(map.hour, 0)))));
        return path;
    }

    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The picture halo shows is the one of that file.
    static bool shows(const QLabel* label, const QString& path) {
        return label->pixmap().toImage().convertToFormat(QImage::Format_RGB32) ==
               QImage(path).convertToFormat(QImage::Format_RGB32);
    }

    Form1Fixture fixture;
};

// Each hour shows its own chart of the tab's family or, where that is missing, one of the two
// hours before it, or else the placeholder, copied in once per run of failures; the end of the
// slider is midnight seven days on, at midnight the same hour names the new day's charts, and the
// sailing maps are shown three hours behind. The track marks the hours stored as the folder changes.
TEST_F(ViewerTest, EachHourShowsItsChartOrAnEarlierOneOfTheTabsFamily) {
    const QString yesterday22 = storeProviderChart(Today.addDays(-1), 22);
    const QString today00 = storeProviderChart(Today, 0);
    const QString wind10 = storeProviderChart(Today, 10);
    const QString rain10 = storeProviderChart(Today, 10, QStringLiteral("pc"));
    const QString tomorrow10 = storeProviderChart(Today.addDays(1), 10);
    const QString lastDay22 = storeProviderChart(Today.addDays(6), 22);
    const QString mainland = storeSailingMap(15, MainlandMapCode);
    storeSailingMap(15, IslandsMapCode);
    Form1& form = fixture.start();
    const TrackBar* track = ui(form).Slider1;
    EXPECT_TRUE(track->storedHours().provider[12]);
    EXPECT_FALSE(track->storedHours().provider[30]);
    const struct {
        const char* what;
        int hour;
        int tab;
        QString shown;
    } cases[] = {{"p = 0 looks for yesterday's 22 first", 0, 0, yesterday22},
                 {"p = 1 looks for yesterday's 23 first", 1, 0, yesterday22},
                 {"p = 2 is today's 00", 2, 0, today00},
                 {"today's 01 is missing: 00 stands in", 3, 0, today00},
                 {"the wind tab", 12, 0, wind10},
                 {"the rain tab", 12, 3, rain10},
                 {"the slider's end", SliderMaximum, 0, lastDay22}};
    for (const auto& c : cases) {
        ui(form).miskaart->setCurrentIndex(c.tab);
        EXPECT_TRUE(shows(ui(fixture.showHour(c.hour)).halo, c.shown)) << c.what;
    }
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Brisel 17.04.2007  0:00"));
    const auto showsThePlaceholder = [&] {
        return form.chartView().pildilipp() && ui(form).halokp->text().isEmpty() &&
               ui(form).halo->pixmap().toImage() == ui(form).quellanbk->pixmap().toImage();
    };
    ui(form).miskaart->setCurrentIndex(1);
    EXPECT_TRUE(showsThePlaceholder()) << "no chart of the tab's family";
    QPixmap marker(10, 10);
    marker.fill(Qt::magenta);
    ui(form).halo->setPixmap(marker);
    fixture.showHour(13);
    EXPECT_EQ(ui(form).halo->pixmap().size(), QSize(10, 10)) << "a second failure in a row";
    ui(form).miskaart->setCurrentIndex(0);
    EXPECT_TRUE(shows(ui(form).halo, wind10));
    ui(form).miskaart->setCurrentIndex(1);
    EXPECT_TRUE(showsThePlaceholder()) << "the first failure after a success";
    ui(form).miskaart->setCurrentIndex(0);
    QFile::remove(today00);
    // p = 2 without today 00: there is no hour -1, yesterday 22 is the third choice.
    EXPECT_TRUE(shows(ui(fixture.showHour(2)).halo, yesterday22));
    EXPECT_TRUE(
        ui(form).halokp->text().startsWith(fixture.texts->keeltekst(QStringLiteral("Dltime")) + u' '));

    EXPECT_TRUE(shows(ui(fixture.showHour(17)).Picture1, mainland));
    EXPECT_FALSE(ui(form).Picture2->isHidden());
    EXPECT_TRUE(
        ui(form).millal->text().startsWith(fixture.texts->keeltekst(QStringLiteral("Dltime")) + u' '));
    EXPECT_TRUE(ui(fixture.showHour(18)).Picture1->isHidden());
    EXPECT_TRUE(track->storedHours().sailing[17]);
    EXPECT_FALSE(track->storedHours().sailing[18]);
    storeSailingMap(18, MainlandMapCode);
    EXPECT_TRUE(QTest::qWaitFor([&] { return track->storedHours().sailing[18]; }, 5000));
    EXPECT_FALSE(track->storedHours().sailing[21]);

    fixture.clock.set(QDateTime(Today.addDays(1), QTime(0, 1)));
    EXPECT_TRUE(shows(ui(fixture.showHour(12)).halo, tomorrow10));
    EXPECT_TRUE(form.windowTitle().contains(QStringLiteral("11.04.2007")));
}

// What lies under the current chart's or a meteogram's name and is no chart leaves its place empty:
// a FIFO, which held the window at start-up for good, and a few kilobytes claiming 5,700 pixels a
// side, which took it to hundreds of megabytes.
TEST_F(ViewerTest, AFifoOrAPictureBombUnderAChartsNameIsNeitherWaitedForNorShown) {
    const int now = viewer::startSliderHour(QTime(12, 0));
    const QString current =
        viewer::providerCandidates(fixture.folder.chartFolder(), Today, now, QStringLiteral("w")).first();
    const QString city = settings_table::Linn.fallback;
    const auto meteogram = [this, &city](int day) {
        return chartPath(fixture.folder.chartFolder(), spotPictureFile(Today.addDays(day), city));
    };
    const auto plainGif = [](QSize size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        return demo::encodeGif(image);
    };
    for (const QString& path : {current, meteogram(0)}) {
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    }
    writeFile(meteogram(1), plainGif(QSize(117, 88)));
    Form1& form = fixture.start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ui(form).halograaf2->pixmap().isNull(); }, 5000));
    EXPECT_TRUE(ui(form).halograaf1->pixmap().isNull());
    EXPECT_TRUE(form.chartView().pildilipp());

    const QString other = storeProviderChart(Today, 20);
    ASSERT_TRUE(shows(ui(fixture.showHour(22)).halo, other));
    QByteArray bomb = plainGif(QSize(40, 30));
    for (const int side : {6, 8}) {
        bomb[side] = char(5700 & 0xff);
        bomb[side + 1] = char(5700 >> 8);
    }
    ASSERT_TRUE(QFile::remove(current));
    writeFile(current, bomb);
    fixture.showHour(now);
    EXPECT_TRUE(form.chartView().pildilipp());
    EXPECT_TRUE(ui(form).halo->pixmap().toImage() == ui(form).quellanbk->pixmap().toImage());
}

// The display keeps what it decoded, and must still show each file as it is on disk now: cut short
// or an error page saved under its name (both count as missing), written anew, replaced by another
// of the same size and the very same modification time (as a fetch renames its file into place),
// or removed.
TEST_F(ViewerTest, AChartOrMapChangedReplacedOrRemovedOnDiskIsShownAsItIsNow) {
    const QString chart = storeProviderChart(Today, 10);
    const QString mainland = storeSailingMap(12, MainlandMapCode);
    const QString island = storeSailingMap(12, IslandsMapCode);
    fixture.start();
    Form1& form = fixture.showHour(12);
    ASSERT_TRUE(shows(ui(form).halo, chart));
    ASSERT_TRUE(shows(ui(form).Picture1, mainland));
    const auto expectMissing = [&](const char* why) {
        fixture.showHour(12);
        EXPECT_TRUE(form.chartView().pildilipp()) << why;
        EXPECT_TRUE(ui(form).halokp->text().isEmpty()) << why;
        EXPECT_TRUE(ui(form).Picture1->isHidden()) << why;
        EXPECT_TRUE(ui(form).millal->text().isEmpty()) << why;
        EXPECT_TRUE(shows(ui(form).Picture2, island)) << why;
    };
    for (const QString& path : {chart, mainland}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(file.size() / 2));
    }
    expectMissing("cut short");
    for (const QString& path : {chart, mainland}) {
        writeFile(path, "<html><body>Marina Wi-Fi: please log in</body></html>");
    }
    expectMissing("an error page");

    const auto downloaded = [this](const QString& path) {
        return fixture.texts->keeltekst(QStringLiteral("Dltime")) + u' ' +
               fixture.formats.shortDateTime(QFileInfo(path).lastModified());
    };
    const auto plain = [](Qt::GlobalColor colour) {
        QImage image(468, 510, QImage::Format_RGB32);
        image.fill(colour);
        return demo::encodeGif(image);
    };
    writeFile(chart, plain(Qt::white));
    EXPECT_TRUE(shows(ui(fixture.showHour(12)).halo, chart));

    struct stat written {};
    ASSERT_EQ(::stat(QFile::encodeName(chart).constData(), &written), 0);
    const QString fetched = chart + QStringLiteral(".part");
    writeFile(fetched, plain(Qt::black));
    const timespec times[2] = {written.st_atim, written.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(fetched).constData(), times, 0), 0);
    ASSERT_EQ(QFileInfo(fetched).size(), written.st_size);
    ASSERT_EQ(::rename(QFile::encodeName(fetched).constData(), QFile::encodeName(chart).constData()), 0);
    EXPECT_TRUE(shows(ui(fixture.showHour(12)).halo, chart));

    // A picture of more colours than a GIF holds is shown with every one of them, and the download
    // time is the new file's.
    QImage colours(468, 510, QImage::Format_RGB32);
    for (int y = 0; y < colours.height(); ++y) {
        for (int x = 0; x < colours.width(); ++x) {
            colours.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
        }
    }
    ASSERT_TRUE(colours.save(chart, "PNG"));
    QFile file(chart);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime(Today, QTime(9, 15)), QFileDevice::FileModificationTime));
    file.close();
    fixture.showHour(12);
    EXPECT_TRUE(shows(ui(form).halo, chart));
    EXPECT_EQ(ui(form).halokp->text(), downloaded(chart));
    EXPECT_TRUE(ui(form).halokp->text().endsWith(QStringLiteral("09:15")));

    ASSERT_TRUE(QFile::remove(chart));
    ASSERT_TRUE(QFile::remove(mainland));
    expectMissing("removed");
}

// A week of one family's charts and the sailing maps is kept whole, so a drag back over it decodes
// nothing; the next family's week pushes out the least recently shown, and the memory stays within
// the budget at every step.
TEST_F(ViewerTest, ADragAcrossTheWeekStaysWithinThePicturesBudget) {
    QSet<QString> maps;
    for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
        const QByteArray map = demo::encodeGif(demo::drawSailingMap(code, QDateTime(Today, QTime(12, 0))));
        for (int p = 0; p <= SliderMaximum; ++p) {
            const QString path =
                chartPath(fixture.folder.chartFolder(), sailingMap(QUrl(), Today, p, code).fileName);
            if (!maps.contains(path)) {
                writeFile(path, map);
                maps.insert(path);
            }
        }
    }
    QSet<QString> charts;
    QString lastChart;
    for (const QString& code : {QStringLiteral("w"), QStringLiteral("t10")}) {
        const QByteArray chart = demo::encodeGif(demo::drawAreaChart({code, Today, 0, 12}));
        for (int p = 0; p <= SliderMaximum; ++p) {
            lastChart = viewer::providerCandidates(fixture.folder.chartFolder(), Today, p, code).first();
            writeFile(lastChart, chart);
            charts.insert(lastChart);
        }
    }
    fixture.start();
    Form1& form = *fixture.form;
    const ChartPictures& pictures = form.chartView().pictures();
    const auto dragAcrossTheWeek = [&] {
        fixture.showHour(0);
        ui(form).Slider1->setFocus();
        for (int p = 1; p <= SliderMaximum; ++p) {
            QTest::keyClick(ui(form).Slider1, Qt::Key_Right);
            ASSERT_LE(pictures.bytes(), pictures.budget()) << p;
        }
        ASSERT_EQ(form.chartView().hour(), SliderMaximum);
    };

    dragAcrossTheWeek();
    EXPECT_EQ(pictures.count(), charts.size() / 2 + maps.size());
    ui(form).miskaart->setCurrentIndex(2);
    dragAcrossTheWeek();
    EXPECT_LT(pictures.count(), charts.size() + maps.size());
    EXPECT_TRUE(shows(ui(form).halo, lastChart));
}

// Where each visible control of the window stands, by name.
QMap<QString, QRect> placesOf(const Form1& form) {
    QMap<QString, QRect> places;
    for (const QWidget* widget : form.findChildren<QWidget*>()) {
        if (!widget->objectName().isEmpty() && widget->isVisible()) {
            places.insert(widget->objectName(), QRect(widget->mapTo(&form, QPoint(0, 0)), widget->size()));
        }
    }
    return places;
}

// The window fits a 1366x768 screen with room for its frame and the desktop's panel, at the same
// minimum size in every language; at that size every text fits its control, both sailing maps
// are whole, and a text that changes (a download time, the button's Stop) moves nothing.
TEST_F(ViewerTest, TheWindowFitsALaptopScreenAndKeepsStillInEveryLanguage) {
    storeProviderChart(Today, 10);
    storeSailingMap(12, MainlandMapCode);
    storeSailingMap(12, IslandsMapCode);
    Form1& form = fixture.start();
    form.resize(form.minimumSize());
    const QSize first = form.size();
    EXPECT_LT(first.width(), 1340);
    EXPECT_LT(first.height(), 690);
    for (const char* language : {"läti", "english", "eesti"}) {
        SCOPED_TRACE(language);
        fixture.find<QAction>(QString::fromUtf8(language))->trigger();
        QApplication::processEvents();
        EXPECT_EQ(form.minimumSize(), first);
        EXPECT_EQ(form.size(), first);
        for (const QWidget* widget : form.findChildren<QWidget*>()) {
            const auto* label = qobject_cast<const QLabel*>(widget);
            const auto* button = qobject_cast<const QAbstractButton*>(widget);
            if (widget->isVisible() &&
                ((label && !label->wordWrap() && !label->text().isEmpty()) || button)) {
                EXPECT_LE(widget->sizeHint().width(), widget->width()) << widget->objectName().toStdString();
            }
        }
        for (const QWidget* map : {ui(form).Picture1, ui(form).Picture2}) {
            EXPECT_TRUE(ui(form).Picture4->rect().contains(map->geometry()))
                << map->objectName().toStdString();
        }

        Form1& shown = fixture.showHour(12);
        const QMap<QString, QRect> before = placesOf(shown);
        ASSERT_FALSE(ui(shown).halokp->text().isEmpty());
        fixture.showHour(60);
        ASSERT_TRUE(ui(shown).halokp->text().isEmpty());
        ASSERT_TRUE(ui(shown).millal->text().isEmpty());
        ui(shown).Command2->setText(QStringLiteral("Stop")); // as a run does
        const QMap<QString, QRect> after = placesOf(shown);
        for (auto place = before.cbegin(); place != before.cend(); ++place) {
            if (after.contains(place.key())) {
                EXPECT_EQ(after[place.key()], place.value()) << place.key().toStdString();
            }
        }
    }
}

// The chart of the newest run of its day, and one of an older run standing in for a missing hour:
// each says its run's start on the slider's clock and how long ago that was, the older one in
// another colour and with the newer run's start; the stored-hours row names the run of the hour
// under the pointer.
TEST_F(ViewerTest, TheChartSaysItsRunAndHowOldItIs) {
    const auto recordRun = [](const QString& chart, const QDate& runDate, int runHour, int step) {
        const QUrl address = areaChartUrl(QUrl(u"http://127.0.0.1:1"_s), u"w"_s, runDate, runHour, step);
        ASSERT_TRUE(writeFileOrigin(chart, FileOrigin{address.toEncoded(), {}, {}}));
    };
    recordRun(storeProviderChart(Today, 10), Today, 0, 10);
    recordRun(storeProviderChart(Today, 13), Today.addDays(-1), 12, 25);
    storeProviderChart(Today, 16);
    fixture.start();
    const auto* run = fixture.find<QLabel>(u"halojooks"_s);
    const QString runText = fixture.texts->keeltekst(u"chartrun"_s);
    const QString newerText = fixture.texts->keeltekst(u"chartrunnewer"_s);

    fixture.showHour(12);
    ASSERT_TRUE(run->isVisible());
    EXPECT_EQ(run->text(), runText.arg(u"10.04 02:00"_s).arg(10));
    const QColor usual = run->palette().color(QPalette::WindowText);
    EXPECT_TRUE(ui(*fixture.form).halo->rect().contains(run->geometry()));

    fixture.showHour(15);
    EXPECT_EQ(run->text(),
              runText.arg(u"09.04 14:00"_s).arg(22) + u" · "_s + newerText.arg(u"10.04 02:00"_s));
    const QColor warning = run->palette().color(QPalette::WindowText);
    EXPECT_NE(warning, usual);
    EXPECT_GT(warning.red(), 2 * std::max(warning.green(), warning.blue())) << "a warning's colour";
    EXPECT_TRUE(ui(*fixture.form).halo->rect().contains(run->geometry()));

    fixture.showHour(18);
    EXPECT_FALSE(ui(*fixture.form).halokp->text().isEmpty());
    EXPECT_FALSE(run->isVisible()) << "a chart that records no address says nothing of its run";

    fixture.clock.set(QDateTime(Today, QTime(15, 30)));
    TrackBar* track = ui(*fixture.form).Slider1;
    const QPoint onRow(track->xForValue(15), track->height() - 2);
    QHelpEvent help(QEvent::ToolTip, onRow, track->mapToGlobal(onRow));
    QApplication::sendEvent(track, &help);
    EXPECT_TRUE(QToolTip::text().endsWith(viewer::momentText(*fixture.texts, Today, 15) + u": "_s +
                                          runText.arg(u"09.04 14:00"_s).arg(25) + u" · "_s +
                                          newerText.arg(u"10.04 02:00"_s)))
        << QToolTip::text().toStdString();
    QToolTip::hideText();
}

// The animation steps every 200 ms, stops at the end of the slider and, started there, rewinds
// to 00:00 of today; a click while it runs stops it at once.
TEST_F(ViewerTest, TheAnimationStepsStopsAtTheEndAndRewindsFromIt) {
    fixture.start();
    Form1& form = fixture.showHour(100);
    EXPECT_EQ(ui(form).Timer1->interval(), 200);
    ui(form).Play->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui(form).Slider1->value() >= 102; }, 2000));
    fixture.showHour(167);
    form.chartView().Timer1_Timer();
    EXPECT_EQ(ui(form).Slider1->value(), 168);
    EXPECT_TRUE(ui(form).Timer1->isActive());
    form.chartView().Timer1_Timer();
    EXPECT_EQ(ui(form).Slider1->value(), 168);
    EXPECT_FALSE(ui(form).Timer1->isActive());
    ui(form).Play->click();
    EXPECT_EQ(ui(form).Slider1->value(), 0);
    ui(form).Play->click();
    EXPECT_FALSE(ui(form).Timer1->isActive());
    EXPECT_EQ(ui(form).Slider1->value(), 0);
}

// A touchpad's pinch that opens by `delta` of the fingers' distance.
void pinchOver(QWidget* widget, const QPointF& at, double delta) {
    QNativeGestureEvent pinch(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2, at, at,
                              widget->mapToGlobal(at), delta, QPointF(), 0);
    QApplication::sendEvent(widget, &pinch);
}

// Where the box's own coordinates, which the zoom counts in, begin inside its frame.
QPointF inBox(const PictureBox* box, const QPointF& at) {
    return at - QPointF(box->contentsRect().topLeft());
}

// The chart stays as magnified while the hour changes under it, so a bay can be followed through
// the week; the wheel zooms about the pointer, the pinch too, and neither moves the hour.
TEST_F(ViewerTest, TheZoomStaysWhileTheSliderAndTheAnimationMove) {
    storeProviderChart(Today, 10);
    storeProviderChart(Today, 11);
    fixture.start();
    Form1& form = fixture.showHour(12);
    PictureBox* halo = ui(form).halo;
    const QPointF bay(300, 140);

    wheelOver(halo, bay, Qt::NoModifier);
    EXPECT_TRUE(halo->zoom().isFitted()) << "a plain wheel does not zoom";
    const QPointF under = halo->zoom().toPicture(inBox(halo, bay));
    wheelOver(halo, bay, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(halo->zoom().scale(), 1.25);
    const QPointF kept = halo->zoom().toBox(under) - inBox(halo, bay);
    EXPECT_LT(kept.manhattanLength(), 1.0) << "the point under the pointer stays there";
    pinchOver(halo, bay, 0.6);
    EXPECT_DOUBLE_EQ(halo->zoom().scale(), 2);
    EXPECT_EQ(form.chartView().hour(), 12);

    const QRectF zoomed = halo->pictureRect();
    ui(form).Slider1->setFocus();
    QTest::keyClick(ui(form).Slider1, Qt::Key_Right);
    ASSERT_EQ(form.chartView().hour(), 13);
    EXPECT_EQ(halo->pictureRect(), zoomed);
    ui(form).Play->click();
    form.chartView().Timer1_Timer();
    ui(form).Play->click();
    ASSERT_EQ(form.chartView().hour(), 14);
    EXPECT_EQ(halo->pictureRect(), zoomed);

    // A sailing map zooms on its own.
    storeSailingMap(15, MainlandMapCode);
    fixture.showHour(15);
    wheelOver(ui(form).Picture1, QPointF(50, 50), Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(ui(form).Picture1->zoom().scale(), 1.25);
    EXPECT_EQ(halo->pictureRect(), zoomed);
}

// With the chart focused by a click, Plus, Equal and the keypad's plus step up, Minus down and 0
// fits; the steps land on twice the size, where each of the chart's pixels is drawn as a square of
// four of its own colour, and the hour never moves.
TEST_F(ViewerTest, TheKeysZoomAFocusedChartPixelTrue) {
    storeProviderChart(Today, 10);
    fixture.start();
    Form1& form = fixture.showHour(12);
    PictureBox* halo = ui(form).halo;
    QTest::mouseClick(halo, Qt::LeftButton, {}, QPoint(200, 200));
    ASSERT_EQ(form.focusWidget(), halo) << "a click gives the chart the focus";
    QTest::keyClick(halo, Qt::Key_Plus);
    EXPECT_DOUBLE_EQ(halo->zoom().scale(), 1.25);
    QTest::keyClick(halo, Qt::Key_Minus);
    EXPECT_TRUE(halo->zoom().isFitted());
    QTest::keyClick(halo, Qt::Key_Plus, Qt::KeypadModifier);
    QTest::keyClick(halo, Qt::Key_Equal);
    QTest::keyClick(halo, Qt::Key_Plus, Qt::ShiftModifier);
    ASSERT_DOUBLE_EQ(halo->zoom().scale(), 2);

    const QImage drawn = halo->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage chart = halo->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    const QRectF place = halo->pictureRect();
    // The markers and the times lie over the chart.
    QRegion overChart;
    for (const QWidget* child : halo->findChildren<QWidget*>()) {
        if (child->isVisible()) {
            overChart += child->geometry();
        }
    }
    int compared = 0;
    for (int y = 40; y < 440; y += 3) {
        for (int x = 40; x < 420; x += 3) {
            if (overChart.contains(QPoint(x, y))) {
                continue;
            }
            const QPointF inChart = (inBox(halo, QPointF(x + 0.5, y + 0.5)) - place.topLeft()) / 2;
            ASSERT_EQ(drawn.pixel(x, y), chart.pixel(int(inChart.x()), int(inChart.y()))) << x << "," << y;
            ++compared;
        }
    }
    EXPECT_GT(compared, 15000);

    QTest::keyClick(halo, Qt::Key_0, Qt::KeypadModifier);
    EXPECT_TRUE(halo->zoom().isFitted());
    EXPECT_EQ(form.chartView().hour(), 12);
}

// Each marker's centre lies on its spot of the chart as drawn: grown with the window, zoomed, and
// back at the window's minimum size where it always stood; markers zoomed out of sight are hidden.
TEST_F(ViewerTest, TheMarkersStayOnTheirSpotsAsTheChartGrowsAndZooms) {
    storeProviderChart(Today, 10);
    Form1& form = fixture.start();
    fixture.showHour(12);
    const QVector<Spot> spots = loadSpotList(ProgramFolder(fixture.folder.root()).spotsIni());
    ASSERT_GT(spots.size(), 10);
    PictureBox* halo = ui(form).halo;
    const auto expectOnTheirSpots = [&](int expectedShown) {
        int shown = 0;
        for (SpotMarker* marker : ui(form).Spot) {
            const auto spot = std::find_if(spots.begin(), spots.end(),
                                           [marker](const Spot& s) { return s.name == marker->toolTip(); });
            if (spot == spots.end() || !marker->isVisible()) {
                continue;
            }
            ++shown;
            const QRectF chart = halo->pictureRect();
            const QPointF onChart = chart.topLeft() + markerTopLeft(*spot, chart.size(), QSizeF(0, 0));
            const QPointF centre = QRectF(marker->geometry()).center();
            EXPECT_LE((centre - onChart).manhattanLength(), 1.0) << spot->name.toStdString();
            EXPECT_TRUE(halo->rect().contains(onChart.toPoint()));
        }
        if (expectedShown >= 0) {
            EXPECT_EQ(shown, expectedShown);
        }
        return shown;
    };

    form.resize(form.minimumSize());
    QApplication::processEvents();
    const QSize least = halo->size();
    const int all = expectOnTheirSpots(-1);
    ASSERT_GT(all, 10);

    form.resize(1920, 1080);
    QApplication::processEvents();
    ASSERT_GT(halo->width(), least.width() * 3 / 2);
    EXPECT_NEAR(double(halo->width()) / halo->height(), double(least.width()) / least.height(), 0.005);
    expectOnTheirSpots(all);
    EXPECT_TRUE(halo->rect().contains(ui(form).halokp->geometry()));
    EXPECT_LT(halo->height() - ui(form).halokp->geometry().bottom(), 5) << "the time stays at the bottom";

    QTest::mouseClick(halo, Qt::LeftButton, {}, QPoint(10, 10));
    for (int step = 0; step < 4; ++step) {
        QTest::keyClick(halo, Qt::Key_Plus);
    }
    const int zoomedIn = expectOnTheirSpots(-1);
    EXPECT_GT(zoomedIn, 0);
    EXPECT_LT(zoomedIn, all);

    QTest::keyClick(halo, Qt::Key_0);
    form.resize(form.minimumSize());
    QApplication::processEvents();
    EXPECT_EQ(halo->size(), least);
    expectOnTheirSpots(all);
}

// A drag moves the zoomed chart and a click does nothing more: only a double-click fetches.
TEST_F(ViewerTest, ADragMovesAZoomedChartAndOnlyADoubleClickAsksForIt) {
    storeProviderChart(Today, 10);
    Form1& form = fixture.start();
    fixture.showHour(12);
    PictureBox* halo = ui(form).halo;
    QSignalSpy fetches(&form.chartView(), &ChartView::chartDoubleClicked);
    QTest::mouseClick(halo, Qt::LeftButton, {}, QPoint(200, 200));
    wheelOver(halo, QPointF(200, 200), Qt::ControlModifier);
    wheelOver(halo, QPointF(200, 200), Qt::ControlModifier);
    const QRectF before = halo->pictureRect();
    QTest::mousePress(halo, Qt::LeftButton, {}, QPoint(200, 200));
    QMouseEvent move(QEvent::MouseMove, QPointF(170, 180), halo->mapToGlobal(QPointF(170, 180)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(halo, &move);
    QTest::mouseRelease(halo, Qt::LeftButton, {}, QPoint(170, 180));
    EXPECT_EQ(halo->pictureRect().topLeft() - before.topLeft(), QPointF(-30, -20));
    EXPECT_EQ(fetches.count(), 0);
    doubleClickAsAUserDoes(halo);
    EXPECT_EQ(fetches.count(), 1);
}

// The marked period, driven through the real slider.
class MarkingTest : public ViewerTest {
protected:
    void SetUp() override {
        fixture.start();
        form = fixture.form.get();
        ui(*form).Slider1->setValue(30);
    }
    QPoint at(int hour) const { return ui(*form).Slider1->pointForValue(hour); }
    void dragTo(int hour) {
        QMouseEvent move(QEvent::MouseMove, at(hour), ui(*form).Slider1->mapToGlobal(at(hour)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ui(*form).Slider1, &move);
    }
    QString periodText(int start, int end) const {
        return fixture.texts->npaev(Today.addDays(start / 24)) +
               QStringLiteral(" %1.04 %2:00 - ")
                   .arg(10 + start / 24)
                   .arg(start % 24, 2, 10, QLatin1Char('0')) +
               fixture.texts->npaev(Today.addDays(end / 24)) +
               QStringLiteral(" %1.04 %2:00").arg(10 + end / 24).arg(end % 24, 2, 10, QLatin1Char('0'));
    }
    void expectPeriod(int start, int end) const {
        EXPECT_EQ(ui(*form).Slider1->selStart(), start);
        EXPECT_EQ(ui(*form).Slider1->selEnd(), end);
        EXPECT_EQ(ui(*form).periood->text(), periodText(start, end));
    }
    Form1* form = nullptr;
};

// A second click, or a double-click, leaves the marking on from the thumb; a drag of the thumb
// moves the other end both ways, and letting go, a click on the track (which moves the end by
// three hours) or an animation step ends the marking; the label always says what a download of
// the marked period would fetch.
TEST_F(MarkingTest, TheThumbMovesTheOtherEndUntilTheMarkingEnds) {
    doubleClickAsAUserDoes(ui(*form).märgiperiood);
    EXPECT_TRUE(ui(*form).märgiperiood->isChecked());
    expectPeriod(30, 30);
    QTest::mousePress(ui(*form).Slider1, Qt::LeftButton, {}, at(30));
    dragTo(20);
    expectPeriod(20, 30);
    dragTo(40);
    expectPeriod(30, 40);
    QTest::mouseRelease(ui(*form).Slider1, Qt::LeftButton, {}, at(40));
    EXPECT_FALSE(ui(*form).märgiperiood->isChecked());
    // Off again, the slider leaves the period alone.
    QTest::keyClick(ui(*form).Slider1, Qt::Key_Right);
    expectPeriod(30, 40);

    QTest::mouseClick(ui(*form).märgiperiood, Qt::LeftButton);
    QTest::mouseClick(ui(*form).Slider1, Qt::LeftButton, {}, at(60));
    EXPECT_EQ(ui(*form).Slider1->value(), 44);
    expectPeriod(41, 44);
    EXPECT_FALSE(ui(*form).märgiperiood->isChecked());

    QTest::mouseClick(ui(*form).märgiperiood, Qt::LeftButton);
    ui(*form).Play->click();
    form->chartView().Timer1_Timer();
    ui(*form).Play->click();
    EXPECT_FALSE(ui(*form).märgiperiood->isChecked());
    EXPECT_EQ(ui(*form).Slider1->selLength(), 0);
}

TEST_F(MarkingTest, TheButtonsMoveOneEndAndTheLabelFollows) {
    ui(*form).Slider1->setSelStart(20);
    ui(*form).Slider1->setSelLength(20);
    ui(*form).Slider1->setValue(50);
    QTest::mouseClick(ui(*form).märgialgus, Qt::LeftButton);
    expectPeriod(50, 70);
    ui(*form).Slider1->setValue(60);
    QTest::mouseClick(ui(*form).märgilõpp, Qt::LeftButton);
    expectPeriod(50, 60);
    // An end before the start swaps the ends: from the thumb to the old start.
    ui(*form).Slider1->setValue(44);
    QTest::mouseClick(ui(*form).märgilõpp, Qt::LeftButton);
    expectPeriod(44, 50);
}

} // namespace

// What a screen reader is told: every control and picture the window shows has a name in the
// interface language, and a picture of an hour names that hour.
TEST_F(ViewerTest, EveryVisibleControlHasANameInEveryLanguage) {
    storeProviderChart(Today, 10);
    storeSailingMap(12, MainlandMapCode);
    storeSailingMap(12, IslandsMapCode);
    Form1& form = fixture.start();
    const QSet<QAccessible::Role> controlRoles{
        QAccessible::PushButton,  QAccessible::CheckBox,  QAccessible::RadioButton,  QAccessible::ComboBox,
        QAccessible::Slider,      QAccessible::ScrollBar, QAccessible::Graphic,      QAccessible::PageTabList,
        QAccessible::ProgressBar, QAccessible::SpinBox,   QAccessible::EditableText, QAccessible::MenuBar,
        QAccessible::StatusBar};
    const auto nameOf = [](QWidget* widget) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    QMap<QString, QString> estonianNames;
    for (const char* language : {"eesti", "english", "läti"}) {
        SCOPED_TRACE(language);
        fixture.find<QAction>(QString::fromUtf8(language))->trigger();
        fixture.showHour(12);
        int named = 0;
        for (QWidget* widget : form.findChildren<QWidget*>()) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
            const bool control = accessible && (controlRoles.contains(accessible->role()) ||
                                                qobject_cast<PictureBox*>(widget));
            if (!widget->isVisible() || !control) {
                continue;
            }
            const QString name = nameOf(widget);
            EXPECT_FALSE(name.isEmpty())
                << widget->metaObject()->className() << " " << widget->objectName().toStdString();
            named += name.isEmpty() ? 0 : 1;
            if (qstrcmp(language, "eesti") == 0) {
                estonianNames.insert(widget->objectName(), name);
            }
        }
        EXPECT_GT(named, 40);

        const QString at12 = viewer::momentText(*fixture.texts, Today, 12);
        EXPECT_TRUE(nameOf(ui(form).halo).endsWith(at12)) << nameOf(ui(form).halo).toStdString();
        EXPECT_TRUE(nameOf(ui(form).Slider1).contains(at12)) << nameOf(ui(form).Slider1).toStdString();
        fixture.showHour(15);
        const QString at15 = viewer::momentText(*fixture.texts, Today, 15);
        EXPECT_TRUE(nameOf(ui(form).halo).endsWith(at15)) << nameOf(ui(form).halo).toStdString();
        EXPECT_TRUE(nameOf(ui(form).Slider1).contains(at15));
        EXPECT_TRUE(nameOf(ui(form).Picture1).endsWith(at15)) << "the maps' slot begins at 15:00";
        ui(form).miskaart->setCurrentIndex(3);
        EXPECT_TRUE(nameOf(ui(form).halo).endsWith(at15));
        EXPECT_NE(nameOf(ui(form).halo), estonianNames.value(u"halo"_s)) << "another family's chart";
        ui(form).miskaart->setCurrentIndex(0);
    }
    EXPECT_EQ(nameOf(ui(form).Spot.first()), ui(form).Spot.first()->toolTip());
}

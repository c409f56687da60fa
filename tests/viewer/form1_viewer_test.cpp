#include "demo_server.h"
#include "form1_fixture.h"
#include "gif_encoder.h"
#include "model_runs.h"
#include "net/chart_names.h"
#include "pictures.h"
#include "viewer/chart_display.h"
#include "viewer/time_slider.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

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

    Form1& showHour(int p) {
        Form1& form = *fixture.form;
        form.Slider1->setValue(p);
        form.Slider1_Scroll();
        return form;
    }

    Form1Fixture fixture;
};

TEST_F(ViewerTest, ProviderChartFallsBackToEarlierHoursAroundMidnight) {
    const QString yesterday22 = storeProviderChart(Today.addDays(-1), 22);
    const QString today00 = storeProviderChart(Today, 0);
    fixture.start();
    // p = 0 and 1 look for yesterday's 22 and 23 first.
    EXPECT_TRUE(shows(showHour(0).halo, yesterday22));
    EXPECT_TRUE(shows(showHour(1).halo, yesterday22));
    EXPECT_TRUE(shows(showHour(2).halo, today00));
    // p = 3: today 01 is missing, today 00 stands in.
    EXPECT_TRUE(shows(showHour(3).halo, today00));
    QFile::remove(today00);
    // p = 2 without today 00: there is no hour -1, yesterday 22 is the third choice.
    EXPECT_TRUE(shows(showHour(2).halo, yesterday22));
    EXPECT_TRUE(
        fixture.form->halokp->text().startsWith(fixture.texts->keeltekst(QStringLiteral("Dltime")) + u' '));
}

TEST_F(ViewerTest, TheEndOfTheSliderIsMidnightSevenDaysOn) {
    const QString lastDay22 = storeProviderChart(Today.addDays(6), 22);
    fixture.start();
    const Form1& form = showHour(168);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Brisel 17.04.2007  0:00"));
    EXPECT_TRUE(shows(form.halo, lastDay22));
}

TEST_F(ViewerTest, CaptionsWriteTheDateInTheSystemsShortFormat) {
    // The fixture's system writes day.month.year, as dd.MM.yyyy.
    fixture.start();
    EXPECT_EQ(showHour(33).windowTitle(), QStringLiteral("Brisel 11.04.2007  9:00"));
    EXPECT_EQ(showHour(14).windowTitle(), QStringLiteral("Brisel 10.04.2007  14:00"));
    EXPECT_EQ(showHour(1).wokell->text(), QStringLiteral("Marevo 09.04.2007  24:00"));
    EXPECT_EQ(showHour(16).wokell->text(), QStringLiteral("Marevo 10.04.2007  15:00"));
}

TEST_F(ViewerTest, ThePlaceholderIsCopiedOncePerRunOfFailures) {
    const QString today10 = storeProviderChart(Today, 10);
    fixture.start();
    Form1& form = showHour(40);
    EXPECT_TRUE(form.pildilipp);
    EXPECT_TRUE(form.halo->pixmap().toImage() == form.quellanbk->pixmap().toImage());
    EXPECT_TRUE(form.halokp->text().isEmpty());
    // A second failure in a row leaves halo as it is.
    QPixmap marker(10, 10);
    marker.fill(Qt::magenta);
    form.halo->setPixmap(marker);
    showHour(41);
    EXPECT_EQ(form.halo->pixmap().size(), QSize(10, 10));
    // A success ends the run; the next failure copies it in again.
    EXPECT_TRUE(shows(showHour(12).halo, today10));
    EXPECT_FALSE(form.pildilipp);
    showHour(41);
    EXPECT_TRUE(form.halo->pixmap().toImage() == form.quellanbk->pixmap().toImage());
}

TEST_F(ViewerTest, AnErrorPageSavedUnderAChartNameCountsAsMissing) {
    const QString page = "<html><body>Marina Wi-Fi: please log in</body></html>";
    writeFile(halofail(fixture.folder.chartFolder(), Today, 10, 0, QStringLiteral("w")), page.toUtf8());
    const QString island = storeSailingMap(12, IslandsMapCode);
    writeFile(
        chartPath(fixture.folder.chartFolder(), sailingMap(QUrl(), Today, 12, MainlandMapCode).fileName),
        page.toUtf8());
    fixture.start();
    const Form1& form = showHour(12);
    EXPECT_TRUE(form.pildilipp);
    EXPECT_TRUE(form.Picture1->isHidden());
    EXPECT_TRUE(form.millal->text().isEmpty());
    EXPECT_FALSE(form.Picture2->isHidden());
    EXPECT_TRUE(shows(form.Picture2, island));
}

TEST_F(ViewerTest, AChartCutShortCountsAsMissing) {
    const QString chart = storeProviderChart(Today, 10);
    const QString mainland = storeSailingMap(12, MainlandMapCode);
    const QString island = storeSailingMap(12, IslandsMapCode);
    fixture.start();
    const Form1& form = showHour(12);
    ASSERT_TRUE(shows(form.halo, chart));
    ASSERT_TRUE(shows(form.Picture1, mainland));
    for (const QString& path : {chart, mainland}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(file.size() / 2));
    }
    showHour(12);
    EXPECT_TRUE(form.pildilipp);
    EXPECT_TRUE(form.halokp->text().isEmpty());
    EXPECT_TRUE(form.Picture1->isHidden());
    EXPECT_TRUE(form.millal->text().isEmpty());
    EXPECT_TRUE(shows(form.Picture2, island));
}

TEST_F(ViewerTest, SailingMapsAreShownThreeHoursBehindWithTheirDownloadTime) {
    const QString mainland = storeSailingMap(15, MainlandMapCode);
    storeSailingMap(15, IslandsMapCode);
    fixture.start();
    const Form1& form = showHour(17);
    EXPECT_TRUE(shows(form.Picture1, mainland));
    EXPECT_FALSE(form.Picture2->isHidden());
    EXPECT_TRUE(form.millal->text().startsWith(fixture.texts->keeltekst(QStringLiteral("Dltime")) + u' '));
    EXPECT_TRUE(showHour(18).Picture1->isHidden());
}

TEST_F(ViewerTest, TheTabsChooseTheFamily) {
    const QString wind = storeProviderChart(Today, 10, QStringLiteral("w"));
    const QString rain = storeProviderChart(Today, 10, QStringLiteral("pc"));
    fixture.start();
    Form1& form = showHour(12);
    EXPECT_TRUE(shows(form.halo, wind));
    form.miskaart->setCurrentIndex(3);
    EXPECT_TRUE(shows(form.halo, rain));
    form.miskaart->setCurrentIndex(1);
    EXPECT_TRUE(form.pildilipp);
}

TEST_F(ViewerTest, AtMidnightTheSameHourNamesTheNewDaysCharts) {
    const QString tomorrow10 = storeProviderChart(Today.addDays(1), 10);
    fixture.start();
    EXPECT_TRUE(showHour(12).pildilipp);
    fixture.clock.set(QDateTime(Today.addDays(1), QTime(0, 1)));
    EXPECT_TRUE(shows(showHour(12).halo, tomorrow10));
    EXPECT_TRUE(fixture.form->windowTitle().contains(QStringLiteral("11.04.2007")));
}

TEST_F(ViewerTest, TheTrackMarksStoredHoursAndFollowsTheFolder) {
    storeProviderChart(Today, 10);
    fixture.start();
    const TrackBar* track = fixture.form->Slider1;
    EXPECT_TRUE(track->storedHours().provider[12]);
    EXPECT_FALSE(track->storedHours().provider[30]);
    EXPECT_FALSE(track->storedHours().sailing[15]);
    storeSailingMap(15, MainlandMapCode);
    EXPECT_TRUE(QTest::qWaitFor([&] { return track->storedHours().sailing[15]; }, 5000));
    EXPECT_TRUE(track->storedHours().sailing[17]);
    EXPECT_FALSE(track->storedHours().sailing[18]);
}

TEST_F(ViewerTest, TheAnimationStopsAtTheEndAndRewindsFromIt) {
    fixture.start();
    Form1& form = showHour(167);
    form.Play->click();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Play->property("tag").toString(), QStringLiteral("Stop"));
    form.Timer1_Timer();
    EXPECT_EQ(form.Slider1->value(), 168);
    EXPECT_TRUE(form.Timer1->isActive());
    form.Timer1_Timer();
    EXPECT_EQ(form.Slider1->value(), 168);
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Play->property("tag").toString(), QStringLiteral("Play"));
    // Started at the end, it rewinds to 00:00 of today; a click while running stops at once.
    form.Play->click();
    EXPECT_EQ(form.Slider1->value(), 0);
    form.Play->click();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_EQ(form.Slider1->value(), 0);
}

TEST_F(ViewerTest, TheAnimationStepsEvery200ms) {
    fixture.start();
    Form1& form = showHour(100);
    EXPECT_EQ(form.Timer1->interval(), 200);
    form.Play->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.Slider1->value() >= 102; }, 2000));
    form.Play->click();
}

TEST_F(ViewerTest, TheSailingPanelScrollsThePairTogether) {
    fixture.start();
    Form1& form = *fixture.form;
    // A panel narrower than the pair, as on a small screen.
    form.Picture4->setFixedWidth(578);
    QApplication::processEvents();
    ASSERT_EQ(form.Picture4->width(), 578);
    form.HScroll1->setValue(form.HScroll1->minimum());
    EXPECT_EQ(form.Picture2->x(), form.HScroll1->minimum());
    EXPECT_EQ(form.Picture1->x(), form.Picture2->x() + 320);
    // At the far end the mainland map's right edge meets the panel's.
    EXPECT_EQ(form.Picture1->x() + form.Picture1->width(), form.Picture4->width());
}

// The marked period, driven through the real slider.
class MarkingTest : public ViewerTest {
protected:
    void SetUp() override {
        fixture.start();
        form = fixture.form.get();
        form->Slider1->setValue(30);
    }
    QPoint at(int hour) const { return form->Slider1->pointForValue(hour); }
    void dragTo(int hour) {
        QMouseEvent move(QEvent::MouseMove, at(hour), form->Slider1->mapToGlobal(at(hour)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form->Slider1, &move);
    }
    QString periodText(int start, int end) const {
        return fixture.texts->npaev(Today.addDays(start / 24)) +
               QStringLiteral(" %1.04 %2:00 - ")
                   .arg(10 + start / 24)
                   .arg(start % 24, 2, 10, QLatin1Char('0')) +
               fixture.texts->npaev(Today.addDays(end / 24)) +
               QStringLiteral(" %1.04 %2:00").arg(10 + end / 24).arg(end % 24, 2, 10, QLatin1Char('0'));
    }
    Form1* form = nullptr;
};

TEST_F(MarkingTest, TheOtherEndFollowsTheThumbBothWays) {
    QTest::mouseClick(form->märgiperiood, Qt::LeftButton);
    EXPECT_TRUE(form->märgiperiood->isChecked());
    QTest::mousePress(form->Slider1, Qt::LeftButton, {}, at(30));
    dragTo(20);
    EXPECT_EQ(form->Slider1->selStart(), 20);
    EXPECT_EQ(form->Slider1->selLength(), 10);
    EXPECT_EQ(form->periood->text(), periodText(20, 30));
    dragTo(40);
    EXPECT_EQ(form->Slider1->selStart(), 30);
    EXPECT_EQ(form->Slider1->selLength(), 10);
    EXPECT_EQ(form->periood->text(), periodText(30, 40));
    QTest::mouseRelease(form->Slider1, Qt::LeftButton, {}, at(40));
    EXPECT_FALSE(form->märgiperiood->isChecked());
    // Off again, the slider leaves the period alone.
    QTest::keyClick(form->Slider1, Qt::Key_Right);
    EXPECT_EQ(form->Slider1->selStart(), 30);
    EXPECT_EQ(form->periood->text(), periodText(30, 40));
}

// An option button: a second click, or a double-click, leaves the marking on, and the label
// always says what a download of the marked period would fetch.
TEST_F(MarkingTest, ASecondClickKeepsTheMarkingOnAndTheLabelTellsThePeriod) {
    doubleClickAsAUserDoes(form->märgiperiood);
    EXPECT_TRUE(form->märgiperiood->isChecked());
    EXPECT_EQ(form->Slider1->selStart(), 30);
    EXPECT_EQ(form->Slider1->selLength(), 0);
    EXPECT_EQ(form->periood->text(), periodText(30, 30));
    QTest::mousePress(form->Slider1, Qt::LeftButton, {}, at(30));
    dragTo(36);
    EXPECT_EQ(form->periood->text(), periodText(30, 36));
}

TEST_F(MarkingTest, AClickOnTheTrackMovesTheEndByThreeHoursAndEndsTheMarking) {
    QTest::mouseClick(form->märgiperiood, Qt::LeftButton);
    QTest::mouseClick(form->Slider1, Qt::LeftButton, {}, at(60));
    EXPECT_EQ(form->Slider1->value(), 33);
    EXPECT_EQ(form->Slider1->selStart(), 30);
    EXPECT_EQ(form->Slider1->selLength(), 3);
    EXPECT_FALSE(form->märgiperiood->isChecked());
}

TEST_F(MarkingTest, TheButtonsMoveOneEndAndTheLabelFollows) {
    form->Slider1->setSelStart(20);
    form->Slider1->setSelLength(20);
    form->Slider1->setValue(50);
    QTest::mouseClick(form->märgialgus, Qt::LeftButton);
    EXPECT_EQ(form->Slider1->selStart(), 50);
    EXPECT_EQ(form->Slider1->selLength(), 20);
    EXPECT_EQ(form->periood->text(), periodText(50, 70));
    form->Slider1->setValue(60);
    QTest::mouseClick(form->märgilõpp, Qt::LeftButton);
    EXPECT_EQ(form->Slider1->selEnd(), 60);
    EXPECT_EQ(form->periood->text(), periodText(50, 60));
    // An end before the start swaps the ends: from the thumb to the old start.
    form->Slider1->setValue(44);
    QTest::mouseClick(form->märgilõpp, Qt::LeftButton);
    EXPECT_EQ(form->Slider1->selStart(), 44);
    EXPECT_EQ(form->Slider1->selEnd(), 50);
    EXPECT_EQ(form->periood->text(), periodText(44, 50));
}

TEST_F(MarkingTest, AnAnimationStepEndsTheMarking) {
    QTest::mouseClick(form->märgiperiood, Qt::LeftButton);
    form->Play->click();
    form->Timer1_Timer();
    form->Play->click();
    EXPECT_FALSE(form->märgiperiood->isChecked());
    EXPECT_EQ(form->Slider1->selLength(), 0);
}

} // namespace

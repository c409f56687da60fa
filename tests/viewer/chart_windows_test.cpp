#include "form1_fixture.h"
#include "gif_encoder.h"
#include "viewer/chart_display.h"
#include "viewer/display_texts.h"
#include "viewer/full_screen_chart.h"

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

    Form1& showHour(int p) {
        Form1& form = *fixture.form;
        ui(form).Slider1->setValue(p);
        form.chartView().Slider1_Scroll();
        return form;
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
    showHour(12);
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F11);
    QPointer<FullScreenChart> view = form.findChild<FullScreenChart*>();
    ASSERT_FALSE(view.isNull());
    EXPECT_TRUE(view->isFullScreen());
    EXPECT_EQ(middleOf(view), colourOf(12, u"w"_s));
    EXPECT_TRUE(view->accessibleName().endsWith(viewer::momentText(*fixture.texts, Today, 12)))
        << view->accessibleName().toStdString();

    const std::pair<Qt::Key, int> steps[] = {{Qt::Key_Right, 13}, {Qt::Key_Up, 14},       {Qt::Key_Left, 13},
                                             {Qt::Key_Down, 12},  {Qt::Key_PageUp, 15},   {Qt::Key_PageUp, 18},
                                             {Qt::Key_PageDown, 15}};
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

    showHour(14);
    ui(form).miskaart->setCurrentIndex(3);
    EXPECT_NE(middleOf(view), colourOf(14, u"w"_s)) << "no rain chart is stored for 14:00";
    showHour(12);
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

} // namespace

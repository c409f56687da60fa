#include "viewer/time_slider.h"

#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The hour track sized as the main window shows it.
class TrackBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        slider.resize(900, slider.sizeHint().height());
        slider.show();
        track = slider.track();
        track->setValue(30);
        track->setFocus();
    }
    TimeSlider slider;
    TrackBar* track = nullptr;
};

TEST_F(TrackBarTest, TheTrackCoversSevenDaysInHours) {
    EXPECT_EQ(track->minimum(), 0);
    EXPECT_EQ(track->maximum(), 168);
    EXPECT_EQ(track->singleStep(), 1);
    EXPECT_EQ(track->pageStep(), 3);
    EXPECT_EQ(track->tickInterval(), 3);
}

TEST_F(TrackBarTest, KeysScrollAndCompleteAChange) {
    QSignalSpy scrolls(track, &TrackBar::scrolled);
    QSignalSpy changes(track, &TrackBar::changed);
    QTest::keyClick(track, Qt::Key_Right);
    EXPECT_EQ(track->value(), 31);
    QTest::keyClick(track, Qt::Key_PageUp);
    EXPECT_EQ(track->value(), 34);
    QTest::keyClick(track, Qt::Key_End);
    EXPECT_EQ(track->value(), 168);
    EXPECT_EQ(scrolls.count(), 3);
    EXPECT_EQ(changes.count(), 3);
}

TEST_F(TrackBarTest, AValueSetByCodeIsAChangeButNoScroll) {
    QSignalSpy scrolls(track, &TrackBar::scrolled);
    QSignalSpy changes(track, &TrackBar::changed);
    track->setValue(100);
    EXPECT_EQ(scrolls.count(), 0);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(TrackBarTest, ADragScrollsAtEveryStepAndChangesOnceWhenLetGo) {
    QSignalSpy scrolls(track, &TrackBar::scrolled);
    QSignalSpy changes(track, &TrackBar::changed);
    QTest::mousePress(track, Qt::LeftButton, {}, track->pointForValue(30));
    for (const int hour : {40, 50, 60}) {
        const QPoint to = track->pointForValue(hour);
        QMouseEvent move(QEvent::MouseMove, to, track->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(track, &move);
    }
    EXPECT_EQ(track->value(), 60);
    EXPECT_EQ(scrolls.count(), 3);
    EXPECT_EQ(changes.count(), 0);
    QTest::mouseRelease(track, Qt::LeftButton, {}, track->pointForValue(60));
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(TrackBarTest, TheSelectionStaysInsideTheTrack) {
    track->setSelStart(150);
    track->setSelLength(40);
    EXPECT_EQ(track->selStart(), 150);
    EXPECT_EQ(track->selEnd(), 168);
    track->setSelStart(-5);
    EXPECT_EQ(track->selStart(), 0);
}

// The marked period is the one coloured stretch of the groove, whichever side of the thumb: the
// groove up to the thumb is not filled in a colour of its own.
TEST_F(TrackBarTest, TheMarkedPeriodIsTheOnlyColouredStretchOfTheGroove) {
    track->setSelStart(40);
    track->setSelLength(40);
    for (const int thumb : {168, 75, 0}) {
        track->setValue(thumb);
        const QImage shot = track->grab().toImage();
        const auto colourAt = [&](int hour) {
            return shot.pixelColor(track->pointForValue(hour));
        };
        EXPECT_EQ(colourAt(55), track->palette().color(QPalette::Highlight)) << "thumb " << thumb;
        for (const int outside : {20, 30, 100, 140}) {
            EXPECT_LT(colourAt(outside).hsvSaturation(), 40) << "thumb " << thumb << ", hour " << outside;
        }
    }
}

TEST_F(TrackBarTest, DayLabelsSitBetweenTheDayLines) {
    for (int day = 0; day < SliderDays; ++day) {
        const QLabel* label = slider.dayLabel(day);
        EXPECT_EQ(label->objectName(), QStringLiteral("plabel(%1)").arg(day));
        const QWidget* left = slider.findChild<QWidget*>(QStringLiteral("Line1(%1)").arg(day));
        const QWidget* right = slider.findChild<QWidget*>(QStringLiteral("Line1(%1)").arg(day + 1));
        ASSERT_NE(left, nullptr);
        ASSERT_NE(right, nullptr);
        EXPECT_GE(label->x(), left->x());
        EXPECT_LE(label->x() + label->width(), right->x());
        EXPECT_EQ(left->x(), track->xForValue(day * 24));
    }
}

} // namespace

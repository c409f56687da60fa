// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/time_slider.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <cmath>
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

// Keys move by an hour, a page of three hours and to the end, seven days on; a value set by code is
// a change but no scroll.
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
    track->setValue(100);
    EXPECT_EQ(scrolls.count(), 3);
    EXPECT_EQ(changes.count(), 4);
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

// Under the ticks each kind of stored chart has a row of its own colour; an hour that is missing
// must stand out of both rows by 3:1 or more, and a pointer resting there is told what the rows are.
TEST_F(TrackBarTest, AMissingHourShowsAsAGapInBothStoredRows) {
    viewer::StoredHours hours{QVector<bool>(169, true), QVector<bool>(169, true)};
    hours.provider[100] = hours.sailing[100] = false;
    track->setStoredHours(hours);
    const QImage shot = track->grab().toImage();
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](float value) {
            return value <= 0.03928f ? value / 12.92f : std::pow((value + 0.055f) / 1.055f, 2.4f);
        };
        return 0.2126f * channel(colour.redF()) + 0.7152f * channel(colour.greenF()) +
               0.0722f * channel(colour.blueF());
    };
    QSet<QRgb> rowsWithGaps;
    for (int y = track->height() - 12; y < track->height(); ++y) {
        const QColor stored = shot.pixelColor(track->xForValue(98), y);
        const float a = luminance(stored);
        const float b = luminance(shot.pixelColor(track->xForValue(100), y));
        if ((std::max(a, b) + 0.05f) / (std::min(a, b) + 0.05f) >= 3.0f) {
            rowsWithGaps.insert(stored.rgb());
        }
    }
    EXPECT_EQ(rowsWithGaps.size(), 2);

    track->setToolTip(QStringLiteral("slider"));
    track->setStoredHoursToolTip(QStringLiteral("rows"));
    for (const auto& [y, expected] :
         {std::pair{track->height() - 2, "rows"}, {track->height() / 3, "slider"}}) {
        QHelpEvent help(QEvent::ToolTip, QPoint(200, y), track->mapToGlobal(QPoint(200, y)));
        QApplication::sendEvent(track, &help);
        EXPECT_EQ(QToolTip::text(), QString::fromLatin1(expected));
        QToolTip::hideText();
    }
}

} // namespace

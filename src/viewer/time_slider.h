// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/slider_hours.h"
#include "viewer/chart_display.h"

#include <QSlider>
#include <QVector>
#include <QWidget>
#include <functional>

class QLabel;
class QFrame;

// The hour track: a horizontal slider that draws its selection range on the groove, as the
// Windows track bar does, and tells two things apart that QSlider mixes: Scroll, every movement
// the user makes (each step of a drag, a click beside the thumb, a key), and Change, every
// completed change (the end of a drag, a click, a key, and every value set by code).
class TrackBar final : public QSlider {
    Q_OBJECT
public:
    explicit TrackBar(QWidget* parent = nullptr);

    int selStart() const { return m_selStart; }
    int selLength() const { return m_selLength; }
    int selEnd() const { return m_selStart + m_selLength; }
    void setSelStart(int start);
    void setSelLength(int length);

    // The x coordinate, in this widget, of the centre of the thumb at a value.
    int xForValue(int value) const;
    // The point on the groove at a value: where a click or a drag lands on that hour.
    QPoint pointForValue(int value) const;

    // Marks along the track, hour by hour, what is stored to be shown.
    void setStoredHours(viewer::StoredHours hours);
    const viewer::StoredHours& storedHours() const { return m_stored; }
    // What a pointer resting on the stored-hours rows is told; elsewhere it gets the slider's own.
    void setStoredHoursToolTip(const QString& text) { m_storedToolTip = text; }
    // What the tooltip adds of the hour under the pointer; an empty text adds nothing.
    void setStoredHourText(std::function<QString(int hour)> text) { m_storedHourText = std::move(text); }
    // The hour whose place on the track is nearest to an x coordinate in this widget.
    int valueAtX(int x) const;
    QSize sizeHint() const override;

Q_SIGNALS:
    void scrolled();
    void changed();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    template<typename Handler> void asUserAction(Handler handler);
    void onValueChanged();
    void onSliderReleased();
    QRect grooveRect() const;
    QString storedHoursToolTip(int hour) const;
    void paintStoredHours(QPainter& painter) const;
    void paintSelection(QPainter& painter, const QRect& groove) const;

    int m_selStart = 0;
    int m_selLength = 0;
    bool m_userAction = false;
    viewer::StoredHours m_stored;
    QString m_storedToolTip;
    std::function<QString(int hour)> m_storedHourText;
};

// The time slider of the main window: the track over seven days with the day labels plabel(0..6)
// and the day lines Line1(0..7) at the day boundaries under it.
class TimeSlider final : public QWidget {
    Q_OBJECT
public:
    explicit TimeSlider(QWidget* parent = nullptr);

    TrackBar* track() const { return m_track; }
    QLabel* dayLabel(int day) const { return m_dayLabels.at(day); }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeDayMarks();

    TrackBar* m_track;
    QVector<QLabel*> m_dayLabels;
    QVector<QFrame*> m_dayLines;
};

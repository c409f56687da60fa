// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/time_slider.h"

#include "platform/control_names.h"

#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolTip>

namespace {

constexpr int SelectionThickness = 4;
// Two thin rows along the bottom edge, under the ticks: provider charts, then sailing maps. Each
// row lies on a grey rail, and both colours stand out of it by more than 3:1, so an hour that is
// missing shows as a gap.
constexpr int StoredRowHeight = 3;
constexpr int StoredStripHeight = 2 * StoredRowHeight + 3;
const QColor StoredRailColour(0xd4, 0xd4, 0xd4);
const QColor ProviderStoredColour(0x1f, 0x4e, 0x9c);
const QColor SailingStoredColour(0xb4, 0x54, 0x0a);

} // namespace

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setObjectName(QStringLiteral("Slider1"));
    setRange(0, SliderMaximum);
    setSingleStep(1);
    setPageStep(3);
    setTickInterval(3);
    setTickPosition(QSlider::TicksBelow);
    setTracking(true);
    connect(this, &QSlider::valueChanged, this, &TrackBar::onValueChanged);
    connect(this, &QSlider::sliderReleased, this, &TrackBar::onSliderReleased);
}

void TrackBar::setSelStart(int start) {
    m_selStart = std::clamp(start, minimum(), maximum());
    update();
}

void TrackBar::setSelLength(int length) {
    m_selLength = std::clamp(length, 0, maximum() - m_selStart);
    update();
}

// A user moves the thumb only through these input events; a value set by code comes from
// elsewhere, which is how the two notifications are told apart.
template<typename Handler> void TrackBar::asUserAction(Handler handler) {
    const bool outer = m_userAction;
    m_userAction = true;
    handler();
    m_userAction = outer;
}

void TrackBar::keyPressEvent(QKeyEvent* event) {
    asUserAction([&] { QSlider::keyPressEvent(event); });
}
void TrackBar::mousePressEvent(QMouseEvent* event) {
    asUserAction([&] { QSlider::mousePressEvent(event); });
}
void TrackBar::mouseMoveEvent(QMouseEvent* event) {
    asUserAction([&] { QSlider::mouseMoveEvent(event); });
}
void TrackBar::wheelEvent(QWheelEvent* event) {
    asUserAction([&] { QSlider::wheelEvent(event); });
}

// Holding the mouse beside the thumb repeats the page step from a timer.
void TrackBar::timerEvent(QTimerEvent* event) {
    asUserAction([&] { QSlider::timerEvent(event); });
}

void TrackBar::onValueChanged() {
    const bool byUser = m_userAction || isSliderDown();
    if (byUser) {
        Q_EMIT scrolled();
    }
    // A drag completes only when the thumb is let go.
    if (!isSliderDown()) {
        Q_EMIT changed();
    }
}

void TrackBar::onSliderReleased() {
    Q_EMIT changed();
}

QRect TrackBar::grooveRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

int TrackBar::xForValue(int value) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = grooveRect();
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    return groove.x() + handle.width() / 2 +
           QStyle::sliderPositionFromValue(minimum(), maximum(), value, span, option.upsideDown);
}

int TrackBar::valueAtX(int x) const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove = grooveRect();
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    return QStyle::sliderValueFromPosition(minimum(), maximum(), x - groove.x() - handle.width() / 2,
                                           groove.width() - handle.width(), option.upsideDown);
}

QString TrackBar::storedHoursToolTip(int hour) const {
    const QString about = m_storedHourText ? m_storedHourText(hour) : QString();
    return about.isEmpty() ? m_storedToolTip : m_storedToolTip + QLatin1Char('\n') + about;
}

QPoint TrackBar::pointForValue(int value) const {
    return {xForValue(value), grooveRect().center().y()};
}

void TrackBar::setStoredHours(viewer::StoredHours hours) {
    m_stored = std::move(hours);
    update();
}

QSize TrackBar::sizeHint() const {
    return QSlider::sizeHint() + QSize(0, StoredStripHeight);
}

bool TrackBar::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (help->pos().y() >= height() - StoredStripHeight && !m_storedToolTip.isEmpty()) {
            QToolTip::showText(help->globalPos(), storedHoursToolTip(valueAtX(help->pos().x())), this);
            return true;
        }
    }
    return QSlider::event(event);
}

void TrackBar::paintStoredHours(QPainter& painter) const {
    const int halfHour = std::max(1, (xForValue(1) - xForValue(0)) / 2);
    const auto paintRow = [&](const QVector<bool>& stored, int top, const QColor& colour) {
        for (int hour = 0; hour < stored.size(); ++hour) {
            if (stored[hour]) {
                painter.fillRect(xForValue(hour) - halfHour, top, 2 * halfHour, StoredRowHeight, colour);
            }
        }
    };
    const int top = height() - StoredStripHeight;
    const int railLeft = xForValue(minimum()) - halfHour;
    const int railWidth = xForValue(maximum()) + halfHour - railLeft;
    for (const int rowTop : {top, top + StoredRowHeight + 1}) {
        painter.fillRect(railLeft, rowTop, railWidth, StoredRowHeight, StoredRailColour);
    }
    paintRow(m_stored.provider, top, ProviderStoredColour);
    paintRow(m_stored.sailing, top + StoredRowHeight + 1, SailingStoredColour);
}

// The selection over the groove, outlined so it stands out of the groove, with the small marks the
// track bar puts at both of its ends on the side of the ticks.
void TrackBar::paintSelection(QPainter& painter, const QRect& groove) const {
    const int left = xForValue(m_selStart);
    const int right = xForValue(selEnd());
    const int thickness = std::max(SelectionThickness, groove.height());
    const QRect band(left, groove.center().y() - thickness / 2, std::max(1, right - left), thickness);
    const QColor selection = palette().color(QPalette::Highlight);
    painter.fillRect(band, selection);
    painter.setPen(selection.darker(160));
    painter.drawRect(band.adjusted(0, 0, -1, -1));
    for (const int x : {left, right}) {
        painter.drawLine(x, groove.bottom(), x, groove.bottom() + 3);
    }
}

// Groove and ticks first, then what lies over them, then the thumb on top, so neither the stored
// hours nor the marked period ever hide the thumb.
void TrackBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    // Styles fill the groove up to the thumb in the highlight colour, which would swallow the
    // marked period wherever the thumb stands beyond it: the groove is drawn plain.
    QStyleOptionSlider groovePass = option;
    groovePass.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    groovePass.palette.setColor(QPalette::Highlight, option.palette.color(QPalette::Button));
    style()->drawComplexControl(QStyle::CC_Slider, &groovePass, &painter, this);

    const QRect groove = grooveRect();
    paintStoredHours(painter);
    paintSelection(painter, groove);

    option.subControls = QStyle::SC_SliderHandle;
    if (isSliderDown()) {
        option.activeSubControls = QStyle::SC_SliderHandle;
        option.state |= QStyle::State_Sunken;
    }
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

TimeSlider::TimeSlider(QWidget* parent) : QWidget(parent), m_track(new TrackBar(this)) {
    for (int day = 0; day < SliderDays; ++day) {
        auto* label = new QLabel(this);
        label->setObjectName(arrayName("plabel", day));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignCenter);
        m_dayLabels.append(label);
    }
    for (int day = 0; day <= SliderDays; ++day) {
        auto* line = new QFrame(this);
        line->setObjectName(arrayName("Line1", day));
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Plain);
        m_dayLines.append(line);
    }
}

// The day lines run beside the day labels, not above them, which keeps the slider low.
QSize TimeSlider::sizeHint() const {
    const int labelHeight = fontMetrics().height();
    return {SliderMaximum * 4, m_track->sizeHint().height() + labelHeight + 2};
}

void TimeSlider::resizeEvent(QResizeEvent*) {
    placeDayMarks();
}

void TimeSlider::placeDayMarks() {
    const int trackHeight = m_track->sizeHint().height();
    m_track->setGeometry(0, 0, width(), trackHeight);
    const int lineTop = trackHeight;
    for (int day = 0; day <= SliderDays; ++day) {
        const int x = m_track->xForValue(day * SliderHoursPerDay);
        m_dayLines[day]->setGeometry(x, lineTop, 1, height() - lineTop);
    }
    const int labelTop = lineTop;
    for (int day = 0; day < SliderDays; ++day) {
        const int left = m_track->xForValue(day * SliderHoursPerDay) + 1;
        const int right = m_track->xForValue((day + 1) * SliderHoursPerDay);
        m_dayLabels[day]->setGeometry(left, labelTop, right - left, height() - labelTop);
    }
}

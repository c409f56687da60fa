// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QtMath>
#include <array>

namespace demo {

namespace {

// A rough coastline of the Baltic Sea with its gulfs, as longitude and latitude.
constexpr std::array<QPointF, 47> balticCoast{{
    {10.0, 54.5}, {12.0, 54.2}, {14.0, 53.9}, {16.5, 54.5}, {18.5, 54.7}, {19.6, 54.4}, {21.1, 55.2},
    {21.0, 56.5}, {21.5, 57.4}, {22.6, 57.7}, {23.5, 57.0}, {24.3, 57.1}, {24.4, 58.3}, {23.5, 58.6},
    {23.5, 59.2}, {24.8, 59.5}, {26.5, 59.5}, {28.0, 59.5}, {30.2, 59.9}, {29.0, 60.2}, {26.5, 60.4},
    {24.0, 60.0}, {22.9, 59.8}, {21.4, 60.6}, {21.3, 61.5}, {21.5, 62.5}, {22.3, 63.5}, {24.5, 64.8},
    {25.4, 65.1}, {24.7, 65.8}, {22.3, 65.8}, {21.2, 64.8}, {20.8, 63.8}, {19.0, 63.0}, {17.9, 62.3},
    {17.3, 61.3}, {17.2, 60.6}, {18.7, 60.1}, {18.9, 59.3}, {17.9, 58.8}, {16.6, 58.1}, {16.4, 57.1},
    {15.9, 56.2}, {14.3, 55.5}, {12.9, 55.4}, {12.6, 56.0}, {11.0, 55.8},
}};

const QColor landColor(226, 214, 178);
const QColor captionBackground(Qt::white);

// Which stretch of the globe a picture shows, and where in the picture.
struct MapFrame {
    QRectF degrees; // x: longitude, y: latitude, bottom edge = southernmost
    QRectF pixels;

    QPointF project(const QPointF& lonLat) const {
        const qreal x = (lonLat.x() - degrees.left()) / degrees.width();
        const qreal y = (degrees.bottom() - lonLat.y()) / degrees.height();
        return {pixels.left() + x * pixels.width(), pixels.top() + y * pixels.height()};
    }
};

struct Family {
    QString title;
    QColor from;
    QColor to;
};

Family familyOf(const QString& code) {
    if (code == QLatin1String("cc")) {
        return {QStringLiteral("Cloud cover"), QColor(240, 240, 240), QColor(120, 128, 140)};
    }
    if (code == QLatin1String("t10")) {
        return {QStringLiteral("Temperature 2 m"), QColor(48, 96, 255), QColor(255, 96, 48)};
    }
    if (code == QLatin1String("pc")) {
        return {QStringLiteral("Precipitation"), QColor(255, 255, 255), QColor(48, 160, 64)};
    }
    return {QStringLiteral("Wind 10 m"), QColor(59, 125, 216), QColor(160, 224, 160)};
}

QImage blankCanvas(const QSize& size, const QColor& fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// Without antialiasing the pictures keep few colours: exact palettes and small GIFs.
QFont labelFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QPolygonF seaOutline(const MapFrame& frame) {
    QPolygonF polygon;
    for (const QPointF& point : balticCoast) {
        polygon << frame.project(point);
    }
    return polygon;
}

// The gradient turns with the hour so that consecutive pictures differ at a glance.
QLinearGradient turningGradient(const QRectF& area, int hour, const QColor& from, const QColor& to) {
    const qreal angle = qDegreesToRadians(hour * 15.0);
    const QPointF centre = area.center();
    const QPointF reach(std::cos(angle) * area.width() / 2, std::sin(angle) * area.height() / 2);
    QLinearGradient gradient(centre - reach, centre + reach);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    return gradient;
}

void drawSea(QPainter& painter, const QPolygonF& sea, const QBrush& brush) {
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(brush);
    painter.drawPolygon(sea);
}

void drawArrow(QPainter& painter, const QPointF& centre, qreal angleDegrees, qreal length) {
    const qreal angle = qDegreesToRadians(angleDegrees);
    const QPointF direction(std::cos(angle), std::sin(angle));
    const QPointF tip = centre + direction * (length / 2);
    const QPointF tail = centre - direction * (length / 2);
    const QPointF side(-direction.y(), direction.x());
    painter.drawLine(tail, tip);
    painter.drawLine(tip, tip - direction * 5 + side * 3);
    painter.drawLine(tip, tip - direction * 5 - side * 3);
}

void drawArrowField(QPainter& painter, const QPolygonF& sea, int turn, int spacing) {
    painter.setPen(QPen(Qt::black, 1));
    const QRectF bounds = sea.boundingRect();
    for (qreal y = bounds.top() + spacing / 2.0; y < bounds.bottom(); y += spacing) {
        for (qreal x = bounds.left() + spacing / 2.0; x < bounds.right(); x += spacing) {
            if (sea.containsPoint(QPointF(x, y), Qt::OddEvenFill)) {
                drawArrow(painter, QPointF(x, y), turn * 11 + x * 0.4 + y * 0.3, spacing * 0.6);
            }
        }
    }
}

void drawCells(QPainter& painter, const QPolygonF& sea, int turn, const QColor& color) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    const QRectF bounds = sea.boundingRect();
    for (int i = 0; i < 6; ++i) {
        const qreal x = bounds.left() + std::fmod(37.0 * (i + 1) + turn * 13.0, bounds.width());
        const qreal y = bounds.top() + std::fmod(71.0 * (i + 1) + turn * 7.0, bounds.height());
        painter.drawEllipse(QPointF(x, y), 18 + i * 3, 12 + i * 2);
    }
}

void drawCaption(QPainter& painter, const QRect& band, const QStringList& lines, int pixelSize) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(captionBackground);
    painter.drawRect(band);
    painter.setPen(Qt::black);
    painter.setFont(labelFont(pixelSize, true));
    painter.drawText(band.adjusted(6, 2, -6, -2), Qt::AlignLeft | Qt::AlignVCenter,
                     lines.join(QLatin1Char('\n')));
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString dateTimeText(const QDateTime& moment) {
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

// A pretend temperature curve of one day: colder at night, a little different each day and place.
qreal pretendTemperature(qreal hour, const QDate& day, qreal latitude) {
    const qreal daily = 5 * std::sin((hour - 9) / 24 * 2 * M_PI);
    return 14 - (latitude - 54) + (day.dayOfYear() % 7) + daily;
}

void drawTemperatureCurve(QPainter& painter, const QRectF& plot, const QDate& day, qreal latitude) {
    QPolygonF curve;
    for (int hour = 0; hour <= 24; ++hour) {
        const qreal temperature = pretendTemperature(hour, day, latitude);
        curve << QPointF(plot.left() + plot.width() * hour / 24,
                         plot.bottom() - (temperature + 5) / 35 * plot.height());
    }
    painter.setPen(QPen(QColor(220, 30, 30), 2));
    painter.drawPolyline(curve);
}

void drawHourGrid(QPainter& painter, const QRectF& plot) {
    painter.setPen(QPen(QColor(200, 200, 200), 1));
    for (int hour = 0; hour <= 24; hour += 3) {
        const qreal x = plot.left() + plot.width() * hour / 24;
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
}

} // namespace

QSize sailingMapSize(const QString& mapCode) {
    return mapCode == QLatin1String("0016") ? QSize(387, 263) : QSize(395, 269);
}

QImage drawAreaChart(const ChartRequest& chart) {
    const Family family = familyOf(chart.code);
    QImage image = blankCanvas(areaChartSize, landColor);
    QPainter painter(&image);
    // The stretch Brisel places its spot markers on, over the whole picture, so the markers of a
    // demo chart fall on the coast they name; the caption covers the far north.
    const MapFrame frame{QRectF(18.359, 53.04, 13.3087, 7.82), QRectF(QPointF(0, 0), areaChartSize)};
    const QPolygonF sea = seaOutline(frame);
    const QDateTime valid = chart.validTime();
    drawSea(painter, sea, turningGradient(sea.boundingRect(), valid.time().hour(), family.from, family.to));
    if (chart.code == QLatin1String("w")) {
        drawArrowField(painter, sea, chart.step, 36);
    } else {
        drawCells(painter, sea, chart.step, family.to.darker(130));
    }
    drawCaption(painter, QRect(0, 0, areaChartSize.width(), 60),
                {family.title,
                 QStringLiteral("Run %1 %2  +%3 h")
                     .arg(dateText(chart.runDate))
                     .arg(chart.runHour, 2, 10, QLatin1Char('0'))
                     .arg(chart.step),
                 QStringLiteral("Valid %1").arg(dateTimeText(valid))},
                14);
    return image;
}

QImage drawMeteogram(const QString& lon, const QString& lat, const QDate& day) {
    QImage image = blankCanvas(meteogramSize, Qt::white);
    QPainter painter(&image);
    const QRectF plot(4, 16, meteogramSize.width() - 8, meteogramSize.height() - 20);
    drawHourGrid(painter, plot);
    drawTemperatureCurve(painter, plot, day, lat.toDouble());
    painter.setPen(Qt::black);
    painter.setFont(labelFont(8, true));
    painter.drawText(QRect(2, 1, meteogramSize.width() - 4, 14), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("%1  %2 %3").arg(dateText(day), lon, lat));
    return image;
}

QImage drawSailingMap(const QString& mapCode, const QDateTime& slot) {
    const QSize size = sailingMapSize(mapCode);
    QImage image = blankCanvas(size, landColor);
    QPainter painter(&image);
    const MapFrame frame{QRectF(19, 56.5, 12, 5), QRectF(0, 36, size.width(), size.height() - 36)};
    const QPolygonF sea = seaOutline(frame);
    drawSea(
        painter, sea,
        turningGradient(sea.boundingRect(), slot.time().hour(), QColor(70, 130, 200), QColor(150, 210, 230)));
    drawArrowField(painter, sea, slot.time().hour() + slot.date().day(), 30);
    drawCaption(painter, QRect(0, 0, size.width(), 36),
                {QStringLiteral("Marevo %1").arg(mapCode), dateTimeText(slot)}, 12);
    return image;
}

QImage drawWaveMap(int leadHours) {
    QImage image = blankCanvas(waveMapSize, landColor);
    QPainter painter(&image);
    const MapFrame frame{QRectF(9, 53, 22, 13.5),
                         QRectF(0, 40, waveMapSize.width(), waveMapSize.height() - 40)};
    const QPolygonF sea = seaOutline(frame);
    drawSea(painter, sea,
            turningGradient(sea.boundingRect(), leadHours, QColor(40, 90, 200), QColor(250, 200, 60)));
    drawCaption(painter, QRect(0, 0, waveMapSize.width(), 40),
                {QStringLiteral("Iltameri nyt"),
                 QStringLiteral("Wave height  +%1 h").arg(leadHours, 2, 10, QLatin1Char('0'))},
                13);
    return image;
}

} // namespace demo

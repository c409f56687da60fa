// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "provider/spot_markers.h"

#include "platform/control_names.h"

#include <QMouseEvent>

namespace {

constexpr int MarkerPlaces = 31;
constexpr QSize MarkerSize(8, 8);

} // namespace

SpotMarker::SpotMarker(QWidget* map, int index) : QLabel(map) {
    setObjectName(arrayName("Spot", index));
    setPixmap(QPixmap(QStringLiteral(":/data/pictures/marker.png")));
    setFixedSize(MarkerSize);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
}

void SpotMarker::enterEvent(QEnterEvent* event) {
    Q_EMIT pointedAt(toolTip());
    QLabel::enterEvent(event);
}

void SpotMarker::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT pointedAt(toolTip());
    QLabel::mouseMoveEvent(event);
}

// Taken here, so the chart under the marker does not fetch too.
void SpotMarker::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    Q_EMIT doubleClicked(toolTip());
}

QVector<SpotMarker*> makeSpotMarkers(QWidget* map, const QVector<Spot>& spots) {
    QVector<SpotMarker*> markers;
    const int count = std::max<int>(MarkerPlaces, spots.size());
    for (int index = 0; index < count; ++index) {
        auto* marker = new SpotMarker(map, index);
        if (index < spots.size()) {
            marker->setToolTip(spots[index].name);
            marker->setAccessibleName(spots[index].name);
        }
        markers.append(marker);
    }
    placeSpotMarkers(markers, spots, QRectF(QPointF(0, 0), QSizeF(map->size())));
    return markers;
}

void placeSpotMarkers(const QVector<SpotMarker*>& markers, const QVector<Spot>& spots,
                      const QRectF& chartRect) {
    for (int index = 0; index < markers.size(); ++index) {
        SpotMarker* marker = markers[index];
        const std::optional<QPointF> topLeft =
            index < spots.size()
                ? markerTopLeftOn(spots[index], chartRect, QRectF(marker->parentWidget()->rect()), MarkerSize)
                : std::nullopt;
        if (topLeft) {
            marker->move(topLeft->toPoint());
        }
        marker->setVisible(topLeft.has_value());
    }
}

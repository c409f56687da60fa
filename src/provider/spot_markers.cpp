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

QVector<SpotMarker*> placeSpotMarkers(QWidget* map, const QVector<Spot>& spots) {
    QVector<SpotMarker*> markers;
    const int count = std::max<int>(MarkerPlaces, spots.size());
    for (int index = 0; index < count; ++index) {
        auto* marker = new SpotMarker(map, index);
        if (index < spots.size()) {
            const Spot& spot = spots[index];
            marker->setToolTip(spot.name);
            marker->setAccessibleName(spot.name);
            marker->move(markerTopLeft(spot, map->size(), MarkerSize).toPoint());
            marker->show();
        } else {
            marker->hide();
        }
        markers.append(marker);
    }
    return markers;
}

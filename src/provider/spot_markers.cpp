#include "provider/spot_markers.h"

#include <QLabel>

namespace {

constexpr int MarkerPlaces = 31;
constexpr QSize MarkerSize(8, 8);

QLabel* makeMarker(QWidget* map, int index) {
    auto* marker = new QLabel(map);
    marker->setObjectName(QStringLiteral("Spot(%1)").arg(index));
    marker->setPixmap(QPixmap(QStringLiteral(":/data/pictures/marker.png")));
    marker->setFixedSize(MarkerSize);
    marker->setCursor(Qt::PointingHandCursor);
    return marker;
}

} // namespace

QVector<QLabel*> placeSpotMarkers(QWidget* map, const QVector<Spot>& spots) {
    QVector<QLabel*> markers;
    const int count = std::max<int>(MarkerPlaces, spots.size());
    for (int index = 0; index < count; ++index) {
        QLabel* marker = makeMarker(map, index);
        if (index < spots.size()) {
            const Spot& spot = spots[index];
            marker->setToolTip(spot.name);
            marker->move(markerTopLeft(spot, map->size(), MarkerSize).toPoint());
            marker->show();
        } else {
            marker->hide();
        }
        markers.append(marker);
    }
    return markers;
}

#pragma once

#include "provider/spot_list.h"

#include <QLabel>
#include <QVector>

class QWidget;

// The marker of a spot on the provider chart. Its tool tip holds the spot's name, which is how
// the window knows the spot: pointing at it shows the spot's stored meteograms, a double-click
// fetches them anew.
class SpotMarker final : public QLabel {
    Q_OBJECT
public:
    SpotMarker(QWidget* map, int index);

Q_SIGNALS:
    void pointedAt(const QString& spotName);
    void doubleClicked(const QString& spotName);

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// One marker per spot, placed so its centre lies on the spot. There are never fewer than the
// map's 31 marker places; those without a spot are hidden.
QVector<SpotMarker*> placeSpotMarkers(QWidget* map, const QVector<Spot>& spots);

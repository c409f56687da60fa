#pragma once

#include "provider/spot_list.h"

#include <QVector>

class QLabel;
class QWidget;

// The markers of the spots on the provider chart, one per spot, each carrying its spot's name as
// its tool tip. There are never fewer than the map's 31 marker places; those without a spot are
// hidden.
QVector<QLabel*> placeSpotMarkers(QWidget* map, const QVector<Spot>& spots);

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

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

// One marker per spot, placed on the map's whole size until placeSpotMarkers places them on the
// chart as drawn. There are never fewer than the map's 31 marker places; those without a spot are
// hidden.
QVector<SpotMarker*> makeSpotMarkers(QWidget* map, const QVector<Spot>& spots);

// Each marker's centre on its spot of the chart drawn over `chartRect` of the map; a marker whose
// spot lies outside the map's part shown is hidden.
void placeSpotMarkers(const QVector<SpotMarker*>& markers, const QVector<Spot>& spots,
                      const QRectF& chartRect);

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <optional>

// A named place on the coast whose point forecast the program fetches and whose marker it draws.
struct Spot {
    QString name;
    double lon = 0;
    double lat = 0;
    int elev = 0;
};

// The provider's map is linear in both directions: it spans these degrees east and north.
namespace ChartMap {
inline constexpr double West = 18.359;
inline constexpr double LonSpan = 13.3087;
inline constexpr double North = 60.86;
inline constexpr double LatSpan = 7.82;
} // namespace ChartMap

// The spots of spots.ini in file order. A missing key reads as 24; a decimal point or comma is
// accepted whatever the locale. A section whose name could not be part of a chart file name (or
// would make the name of another chart), or whose numbers cannot be read or lie beyond the earth's
// degrees, is left out. A missing or unreadable file gives no spots.
QVector<Spot> loadSpotList(const QString& spotsIniPath);

// Where a marker of markerSize goes on a map of mapSize so that its centre lies on the spot.
QPointF markerTopLeft(const Spot& spot, QSizeF mapSize, QSizeF markerSize);

// Where a marker goes on a map drawn over `chartRect` (scaled and moved by a zoom), so that its
// centre lies on the spot; nothing when its centre falls outside the part of the map shown.
std::optional<QPointF> markerTopLeftOn(const Spot& spot, const QRectF& chartRect, const QRectF& shown,
                                       QSizeF markerSize);

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The spot list on any bytes: every spot it gives has a name that can be part of a chart file
// name, finite coordinates, an elevation in whole metres of 16 bits, and a marker place on the map.

#include "provider/spot_list.h"

#include "fuzz_support.h"

#include <cmath>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const Spot& spot : loadSpotList(fuzz::asFile(fuzz::bytes(data, size)))) {
        FUZZ_CHECK(!spot.name.trimmed().isEmpty());
        FUZZ_CHECK(!spot.name.contains(QStringLiteral("..")));
        for (const QChar refused : QStringLiteral("/\\:*?\"<>|")) {
            FUZZ_CHECK(!spot.name.contains(refused));
        }
        FUZZ_CHECK(std::isfinite(spot.lon) && std::isfinite(spot.lat));
        FUZZ_CHECK(spot.elev >= std::numeric_limits<qint16>::min() &&
                   spot.elev <= std::numeric_limits<qint16>::max());
        const QPointF marker = markerTopLeft(spot, QSizeF(600, 480), QSizeF(9, 9));
        FUZZ_CHECK(std::isfinite(marker.x()) && std::isfinite(marker.y()));
    }
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "provider/spot_list.h"

#include "net/chart_names.h"
#include "platform/profile_file.h"

#include <QLocale>
#include <QLoggingCategory>
#include <cmath>
#include <limits>
#include <optional>

namespace {

Q_LOGGING_CATEGORY(lcProvider, "brisel.provider", QtWarningMsg)

// What a key missing from a spot's section reads as; such a spot lies far off the map.
const QString MissingKeyValue = QStringLiteral("24");

// Characters that would lead a chart file name out of the chart folder or that file systems refuse.
const QString RefusedNameCharacters = QStringLiteral("/\\:*?\"<>|");

// A spot's pictures are named after it; they must neither leave the chart folder nor overwrite
// another chart.
bool canNameItsPictures(const QString& name) {
    if (name == QStringLiteral(".") || name.contains(QStringLiteral("..")) ||
        spotPicturesTakeChartNames(name)) {
        return false;
    }
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || RefusedNameCharacters.contains(c)) {
            return false;
        }
    }
    return true;
}

// Spot files travel between machines whose locales disagree on the decimal separator, so both
// are read, whatever the locale of this one.
std::optional<double> readNumber(const ProfileFile& file, const QString& section, const QString& key) {
    QString text = file.value(section, key, MissingKeyValue);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double number = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(number)) {
        return std::nullopt;
    }
    return number;
}

// Elevations are kept as 16-bit whole metres, halves going to the even one; a value beyond that
// range is a typing slip, not a place on this coast.
std::optional<int> readElevation(const ProfileFile& file, const QString& section) {
    const std::optional<double> metres = readNumber(file, section, QStringLiteral("elev"));
    if (!metres) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(*metres);
    if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(rounded);
}

// A degree beyond the earth's range is a typing slip too; left in, a huge one would put the marker
// at an infinite place on the map.
std::optional<double> readDegrees(const ProfileFile& file, const QString& section, const QString& key,
                                  double limit) {
    const std::optional<double> degrees = readNumber(file, section, key);
    if (!degrees || std::abs(*degrees) > limit) {
        return std::nullopt;
    }
    return degrees;
}

std::optional<Spot> readSpot(const ProfileFile& file, const QString& name) {
    const std::optional<double> lon = readDegrees(file, name, QStringLiteral("lon"), 180);
    const std::optional<double> lat = readDegrees(file, name, QStringLiteral("lat"), 90);
    const std::optional<int> elev = readElevation(file, name);
    if (!lon || !lat || !elev) {
        return std::nullopt;
    }
    return Spot{name, *lon, *lat, *elev};
}

} // namespace

QVector<Spot> loadSpotList(const QString& spotsIniPath) {
    const ProfileFile file = ProfileFile::load(spotsIniPath);
    QVector<Spot> spots;
    for (const QString& name : file.sectionNames()) {
        if (name.trimmed().isEmpty()) {
            continue;
        }
        if (!canNameItsPictures(name)) {
            qCDebug(lcProvider) << "spot left out, its name cannot name its pictures:" << name;
            continue;
        }
        const std::optional<Spot> spot = readSpot(file, name);
        if (!spot) {
            qCDebug(lcProvider) << "spot left out, its lon, lat or elev is not a number in range:" << name;
            continue;
        }
        spots.append(*spot);
    }
    return spots;
}

QPointF markerTopLeft(const Spot& spot, QSizeF mapSize, QSizeF markerSize) {
    const double centreX = (spot.lon - ChartMap::West) / ChartMap::LonSpan * mapSize.width();
    const double centreY = (ChartMap::North - spot.lat) / ChartMap::LatSpan * mapSize.height();
    return {centreX - markerSize.width() / 2, centreY - markerSize.height() / 2};
}

std::optional<QPointF> markerTopLeftOn(const Spot& spot, const QRectF& chartRect, const QRectF& shown,
                                       QSizeF markerSize) {
    const QPointF centre = chartRect.topLeft() + markerTopLeft(spot, chartRect.size(), QSizeF(0, 0));
    if (!shown.contains(centre)) {
        return std::nullopt;
    }
    return centre - QPointF(markerSize.width() / 2, markerSize.height() / 2);
}

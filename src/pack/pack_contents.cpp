// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pack/pack_contents.h"

#include "net/chart_names.h"

#include <QUrl>

namespace pack {
namespace {

QString ifStored(const QSet<QString>& stored, const QString& name) {
    return stored.contains(name) ? name : QString();
}

PackHour hourOf(const QSet<QString>& stored, const QDate& today, int p) {
    PackHour hour;
    for (int tab = 0; tab < viewer::TabCount; ++tab) {
        hour.providerCharts[tab] =
            viewer::storedProviderChart(stored, today, p, viewer::chartCodeForTab(tab));
    }
    hour.mainlandMap = ifStored(stored, sailingMap(QUrl(), today, p, MainlandMapCode).fileName);
    hour.islandsMap = ifStored(stored, sailingMap(QUrl(), today, p, IslandsMapCode).fileName);
    return hour;
}

} // namespace

PackContents packContents(const QSet<QString>& chartFileNames, const QDate& today, const QStringList& spots) {
    PackContents contents;
    for (int p = 0; p <= SliderMaximum; ++p) {
        contents.hours.append(hourOf(chartFileNames, today, p));
    }
    for (const QString& spot : spots) {
        PackSpot packSpot{spot, {}};
        for (int day = 0; day < MeteogramReach; ++day) {
            packSpot.meteograms.append(ifStored(chartFileNames, spotPictureFile(today.addDays(day), spot)));
        }
        contents.spots.append(packSpot);
    }
    for (int index = 1; index <= WaveMapCount; ++index) {
        contents.waveMaps.append(ifStored(chartFileNames, waveMapFile(index)));
    }
    return contents;
}

QStringList PackContents::files() const {
    QSet<QString> names;
    for (const PackHour& hour : hours) {
        for (const QString& chart : hour.providerCharts) {
            names.insert(chart);
        }
        names.insert(hour.mainlandMap);
        names.insert(hour.islandsMap);
    }
    for (const PackSpot& spot : spots) {
        for (const QString& meteogram : spot.meteograms) {
            names.insert(meteogram);
        }
    }
    for (const QString& map : waveMaps) {
        names.insert(map);
    }
    names.remove(QString());
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

} // namespace pack

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/slider_hours.h"
#include "viewer/chart_display.h"

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

// Which stored charts an offline pack carries: those the window would show at some hour of the
// week that begins today, chosen by the viewer's own rules. Nothing here touches a file.
namespace pack {

// A page opened on a later day of the week shows the meteograms from that day on, so a pack keeps
// those of every day the slider reaches and of the days after the last one.
inline constexpr int MeteogramReach = SliderDays + viewer::MeteogramDays;

// The charts shown at one slider hour; an empty name where nothing is stored.
struct PackHour {
    std::array<QString, viewer::TabCount> providerCharts;
    QString mainlandMap;
    QString islandsMap;
};

struct PackSpot {
    QString name;
    // Today's meteogram and those of the days after it, MeteogramReach of them.
    QStringList meteograms;
};

struct PackContents {
    QVector<PackHour> hours; // slider hours 0 .. SliderMaximum
    QVector<PackSpot> spots;
    QStringList waveMaps; // wave maps 1 .. WaveMapCount
    // Every name above once, sorted.
    QStringList files() const;
};

PackContents packContents(const QSet<QString>& chartFileNames, const QDate& today, const QStringList& spots);

} // namespace pack

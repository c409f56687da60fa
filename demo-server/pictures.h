// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "model_runs.h"

#include <QDate>
#include <QDateTime>
#include <QImage>
#include <QString>

namespace demo {

// Synthetic pictures that say what they stand for, so a person looking at Brisel's window can
// tell which chart, run, step and time it shows. They are cheap to draw and small as GIFs.

inline constexpr QSize areaChartSize{468, 510};
// One day of a spot: the panel sets the days side by side a hundred pixels apart, over a strip
// of hour marks that starts 80 pixels down.
inline constexpr QSize meteogramSize{100, 80};
inline constexpr QSize waveMapSize{400, 400};
QSize sailingMapSize(const QString& mapCode);

QImage drawAreaChart(const ChartRequest& chart);
QImage drawMeteogram(const QString& lon, const QString& lat, const QDate& day);
QImage drawSailingMap(const QString& mapCode, const QDateTime& slot);
QImage drawWaveMap(int leadHours);

} // namespace demo

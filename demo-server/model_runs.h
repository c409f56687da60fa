// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace demo {

// One area chart of the provider: a chart family of one model run at one forecast step.
struct ChartRequest {
    QString code;
    QDate runDate;
    int runHour = 0;
    int step = 0;

    QDateTime runStart() const;
    QDateTime validTime() const;
};

// The chart a provider path names, or nothing when the path is not a well-formed chart address.
std::optional<ChartRequest> parseChartPath(const QString& path);

// A run can be fetched from its publication until it is two days old.
bool isRunAvailable(const QDateTime& runStart, const QDateTime& now, int publishAfterHours);

} // namespace demo

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>
#include <QUrl>
#include <optional>

// The requests the provider's service understands. Every address sent to the provider is made
// here; an empty base (an unconfigured provider) gives an empty address, which no fetch accepts.

// An area chart of one model run: `runHour` is 0 or 12, `step` the forecast hour counted from it.
QUrl areaChartUrl(const QUrl& providerBase, const QString& chartCode, const QDate& runDate, int runHour,
                  int step);

// What an area chart's address names: its chart, the run it comes from and its lead time. Such an
// address holds the same picture for good once the run is published. Nothing for any other address.
struct AreaChartRun {
    QString chartCode;
    QDate runDate;
    int runHour = 0;
    int step = 0;
};
std::optional<AreaChartRun> areaChartRunOf(const QUrl& url);

// The login request. Both values are percent-encoded, so that a password holding "&", "#" or "+"
// reaches the provider as typed instead of cutting the query short.
QUrl loginUrl(const QUrl& providerBase, const QString& email, const QString& password);

// The point forecast of a position. The numbers always carry a '.' whatever the user's locale,
// since the provider reads them that way.
QUrl pointForecastUrl(const QUrl& providerBase, double lon, double lat, int elev);

// `base` followed by an already encoded path and query, kept exactly as given.
QUrl appendToBase(const QUrl& base, const QByteArray& encodedPathAndQuery);

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/chart_display.h"

#include "net/chart_names.h"
#include "platform/locale_formats.h"
#include "platform/slider_hours.h"
#include "viewer/display_texts.h"

#include <QFileInfo>

namespace viewer {
namespace {

QString twoSignedHour(int hour) {
    return QStringLiteral(" ") + QString::number(hour);
}

} // namespace

QString chartCodeForTab(int tab) {
    return ProviderChartCodes[std::clamp(tab, 0, TabCount - 1)];
}

QStringList providerCandidates(const QString& chartFolder, const QDate& today, int p,
                               const QString& chartCode) {
    const SliderMoment moment = sliderMoment(today, providerHour(p));
    const QDate date = moment.date;
    const int hour = moment.hour;
    const QString sameHour = halofail(chartFolder, date, hour, 0, chartCode);
    const QString hourBefore = hour > 0 ? halofail(chartFolder, date, hour - 1, 0, chartCode) : QString();
    const QString twoBefore = hour < 2 ? halofail(chartFolder, date.addDays(-1), 22, 0, chartCode)
                                       : halofail(chartFolder, date, hour - 2, 0, chartCode);
    return {sameHour, hourBefore, twoBefore};
}

SailingMaps sailingMapsAt(const LocaleFormats& formats, const QDate& today, int p) {
    const SailingMap mainland = sailingMap(QUrl(), today, p, MainlandMapCode);
    const SailingMap islands = sailingMap(QUrl(), today, p, IslandsMapCode);
    const QString label = QStringLiteral("Marevo ") + formats.shortDate(mainland.date) + QLatin1Char(' ') +
                          twoSignedHour(mainland.hour + 3) + QStringLiteral(":00");
    return {mainland.fileName, islands.fileName, label};
}

QString storedProviderChart(const QSet<QString>& chartFileNames, const QDate& today, int p,
                            const QString& chartCode) {
    const auto stored = [&chartFileNames](const QString& name) {
        return chartFileNames.contains(name);
    };
    QStringList names;
    for (const QString& path : providerCandidates(QString(), today, p, chartCode)) {
        names.append(path.isEmpty() ? QString() : QFileInfo(path).fileName());
    }
    const QString chosen = chooseCandidate(names, stored);
    return stored(chosen) ? chosen : QString();
}

StoredHours storedHours(const QSet<QString>& chartFileNames, const QDate& today, const QString& chartCode) {
    StoredHours hours;
    hours.provider.reserve(SliderMaximum + 1);
    hours.sailing.reserve(SliderMaximum + 1);
    for (int p = 0; p <= SliderMaximum; ++p) {
        hours.provider.append(!storedProviderChart(chartFileNames, today, p, chartCode).isEmpty());
        hours.sailing.append(chartFileNames.contains(sailingMap(QUrl(), today, p, MainlandMapCode).fileName));
    }
    return hours;
}

QSet<QString> chartFilesShown(const QDate& today) {
    QSet<QString> names;
    for (int p = 0; p <= SliderMaximum; ++p) {
        for (int tab = 0; tab < TabCount; ++tab) {
            for (const QString& path : providerCandidates(QString(), today, p, chartCodeForTab(tab))) {
                if (!path.isEmpty()) {
                    names.insert(QFileInfo(path).fileName());
                }
            }
        }
        for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
            names.insert(sailingMap(QUrl(), today, p, code).fileName);
        }
    }
    return names;
}

} // namespace viewer

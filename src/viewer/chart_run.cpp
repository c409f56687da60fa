// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/chart_run.h"

#include "net/chart_names.h"
#include "net/file_origin.h"
#include "settings/interface_texts.h"
#include "viewer/chart_display.h"

#include <QFileInfo>
#include <algorithm>

namespace viewer {
namespace {

constexpr qint64 SecondsInHour = 3600;
constexpr int HoursInDay = 24;

QString startText(const QDateTime& start) {
    return twoDigits(start.date().day()) + QLatin1Char('.') + twoDigits(start.date().month()) +
           QLatin1Char(' ') + twoDigits(start.time().hour()) + QLatin1Char(':') +
           twoDigits(start.time().minute());
}

// The day a chart is for, on the provider's clock, as its file is named.
QDate chartDate(const AreaChartRun& run) {
    return run.runDate.addDays(floorDiv(run.runHour + run.step, HoursInDay));
}

} // namespace

QDateTime runStart(const AreaChartRun& run) {
    return QDateTime(run.runDate, QTime(run.runHour, 0)).addSecs(ProviderClockLag * SecondsInHour);
}

RunAge runAge(const AreaChartRun& shown, const QVector<AreaChartRun>& runsOfTheDay, const QDateTime& now) {
    RunAge age;
    age.start = runStart(shown);
    age.hoursAgo = std::max<qint64>(0, age.start.secsTo(now) / SecondsInHour);
    age.overADay = age.start.secsTo(now) > HoursInDay * SecondsInHour;
    for (const AreaChartRun& run : runsOfTheDay) {
        const QDateTime start = runStart(run);
        if (start > age.newerStart.value_or(age.start)) {
            age.newerStart = start;
        }
    }
    return age;
}

QString runAgeText(const InterfaceTexts& texts, const RunAge& age) {
    QString text =
        texts.keeltekst(QStringLiteral("chartrun"), {startText(age.start), QString::number(age.hoursAgo)});
    if (age.newerStart) {
        text += QStringLiteral(" · ") +
                texts.keeltekst(QStringLiteral("chartrunnewer"), {startText(*age.newerStart)});
    }
    return text;
}

std::optional<AreaChartRun> storedRunOf(const QString& path) {
    const std::optional<FileOrigin> origin = readFileOrigin(path);
    if (!origin) {
        return std::nullopt;
    }
    return areaChartRunOf(QUrl::fromEncoded(origin->url, QUrl::StrictMode));
}

std::optional<RunAge> StoredRuns::ageOf(const QSet<QString>& chartFileNames, const QString& path,
                                        const QDateTime& now) {
    const std::optional<AreaChartRun> shown = storedRunOf(path);
    if (!shown) {
        return std::nullopt;
    }
    return runAge(*shown, runsOfItsDay(chartFileNames, *shown), now);
}

// The chart itself is among them.
QVector<AreaChartRun> StoredRuns::runsOfItsDay(const QSet<QString>& chartFileNames,
                                               const AreaChartRun& chart) {
    const QDate date = chartDate(chart);
    const QString day = dateStamp(date) + chart.chartCode;
    if (const auto known = m_days.constFind(day); known != m_days.cend()) {
        return *known;
    }
    QVector<AreaChartRun> runs;
    for (int hour = 0; hour < HoursInDay; ++hour) {
        const QString path = halofail(m_folder, date, hour, 0, chart.chartCode);
        if (!chartFileNames.contains(QFileInfo(path).fileName())) {
            continue;
        }
        if (const std::optional<AreaChartRun> run = storedRunOf(path)) {
            runs.append(*run);
        }
    }
    m_days.insert(day, runs);
    return runs;
}

} // namespace viewer

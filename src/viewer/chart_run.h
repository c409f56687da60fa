// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "net/provider_requests.h"

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>
#include <optional>

class InterfaceTexts;

// How old the provider chart on show is: the model run its address names, read back from the
// address recorded with the file, and how that run stands beside the others stored for its day.
namespace viewer {

// When a run started, on the slider's clock: an address's run date and hour are the provider's
// clock, which runs two hours behind the slider.
QDateTime runStart(const AreaChartRun& run);

struct RunAge {
    QDateTime start;
    qint64 hoursAgo = 0;
    // The newest run among the day's stored charts, when it started after this one.
    std::optional<QDateTime> newerStart;
    bool overADay = false;
    // A chart the user should not take for the latest forecast.
    bool warning() const { return newerStart.has_value() || overADay; }
};

// The run of a chart at `now`, beside the runs of the charts stored for the same day (the shown
// one may be among them). A run that by the clock has not started yet is 0 hours old.
RunAge runAge(const AreaChartRun& shown, const QVector<AreaChartRun>& runsOfTheDay, const QDateTime& now);

// "run 07.12 02:00, 9 h ago", and the newer run's start when there is one, in the interface
// language.
QString runAgeText(const InterfaceTexts& texts, const RunAge& age);

// The run of a stored provider chart; nothing when the file records no area chart's address, as
// on a file system without extended attributes.
std::optional<AreaChartRun> storedRunOf(const QString& path);

// The ages of stored provider charts, each beside the charts of its family stored for the same
// day. The runs of a day's charts are read from their files once and kept until the chart folder
// changes: a drag across the week would otherwise read every address of the day at each step.
class StoredRuns final {
public:
    explicit StoredRuns(QString chartFolder) : m_folder(std::move(chartFolder)) {}

    // The age at `now` of the chart at `path`, among the chart folder's names as last listed;
    // nothing when it records no area chart's address.
    std::optional<RunAge> ageOf(const QSet<QString>& chartFileNames, const QString& path,
                                const QDateTime& now);
    // The chart folder changed: its runs are read again.
    void forget() { m_days.clear(); }

private:
    QVector<AreaChartRun> runsOfItsDay(const QSet<QString>& chartFileNames, const AreaChartRun& chart);

    QString m_folder;
    // By the day's date stamp and the family's chart code.
    QHash<QString, QVector<AreaChartRun>> m_days;
};

} // namespace viewer

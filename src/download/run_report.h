// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "net/fetch.h"
#include "platform/expected.h"
#include "provider/provider_session.h"

#include <QElapsedTimer>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class InterfaceTexts;

// The services a run fetches from: the fetcher names the one whose base address of brisel.ini it
// built the address from.
enum class Service { Provider, SailingSite };

// A file of a run that will not be asked for again: its name in the chart folder, its service and
// the last answer, which for a provider chart is that of the last run choice tried.
struct SettledFile {
    Service service;
    QString name;
    FetchResult result;
};

// What an action fetched, for its closing line: files that arrived, files that did not, files the
// server confirmed unchanged, and the bytes that arrived.
struct FetchTally {
    int fetched = 0;
    int failed = 0;
    int unchanged = 0;
    qint64 bytes = 0;
};

// What one download run did and where it has got to: every request for the log, every file for
// the counts and for the failures by service, a provider login that was not accepted, and the
// stage. The window's status bar and the run without a window say it in the same words.
class RunReport final {
public:
    // The run's time counts from here.
    RunReport();

    void requestEnded(const FetchRecord& request);
    void fileSettled(const SettledFile& file);
    void loginStarted();
    void loginAnswered(const LoginResult& result);
    void spotsStarted(int count);
    void spotFetched(int index);
    void chartsStarted(int firstHour, int lastHour, int step);
    void hourFetched(int hour);
    // The user stopped the run before its end.
    void stopped();
    // The run's time stops here.
    void finish();

    const FetchTally& tally() const { return m_tally; }
    qint64 milliseconds() const;

    // Where the run is and what it fetched so far: "Spots 3/22 · 40 fetched, 0 unchanged, 1 failed",
    // or while the provider login is asked for, that it waits for it. `momentOf` writes a slider
    // hour as the window shows it.
    QString progressText(const InterfaceTexts& texts, const std::function<QString(int)>& momentOf) const;
    // What the run did, on one line: a provider login that was not accepted, how far a stopped run
    // got, then "303 fetched, 4 unchanged, 7 failed (provider 5, sailing site 2) in 18 s".
    QString endText(const InterfaceTexts& texts) const;
    // The files that failed, by service, each with its reason; empty when none did.
    QString failureList(const InterfaceTexts& texts) const;
    // One line a request, in the order they ended: local time, the address without its query, the
    // HTTP status, the bytes, the milliseconds and the outcome.
    QByteArray logText() const;

private:
    enum class Stage { Starting, Spots, Charts };

    QString filesText(const InterfaceTexts& texts) const;
    QString failedByService(const InterfaceTexts& texts) const;
    QString stageText(const InterfaceTexts& texts, const std::function<QString(int)>& momentOf) const;
    QString stoppedText(const InterfaceTexts& texts, const QString& files) const;

    QElapsedTimer m_clock;
    std::optional<qint64> m_finishedAfter;
    QList<FetchRecord> m_requests;
    QList<SettledFile> m_failures;
    FetchTally m_tally;
    std::optional<LoginResult> m_loginDeclined;
    bool m_awaitingLogin = false;
    bool m_stopped = false;
    Stage m_stage = Stage::Starting;
    int m_done = 0;
    int m_total = 0;
    int m_firstHour = 0;
    int m_step = 1;
    int m_lastHour = 0;
};

// Writes the log of a run over the last one at that path, whole or not at all; the reason when it
// could not, which the run does not mind.
Expected<void> writeRunLog(const RunReport& report, const QString& path);

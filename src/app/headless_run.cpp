// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/headless_run.h"

#include "app/command_line.h"
#include "download/chart_cleanup.h"
#include "download/chart_fetcher.h"
#include "download/download_run.h"
#include "download/run_report.h"
#include "net/fetch.h"
#include "pack/pack_export.h"
#include "platform/clock.h"
#include "platform/host_config.h"
#include "platform/program_folder.h"
#include "provider/provider_session.h"
#include "provider/spot_list.h"
#include "settings/interface_texts.h"
#include "settings/registry_store.h"
#include "settings/stored_settings.h"
#include "viewer/chart_display.h"
#include "viewer/display_texts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool isTerminal(std::FILE* stream) {
#ifdef Q_OS_WIN
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

void say(std::FILE* stream, const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
    std::fflush(stream);
}

// A one-line bar redrawn in place while a person watches; a scheduled run that writes into a file
// or a pipe gets none, only the closing line.
class ProgressLine final {
public:
    ProgressLine() {
        if (isTerminal(stderr)) {
            m_terminal = stderr;
        } else if (isTerminal(stdout)) {
            m_terminal = stdout;
        }
    }

    void draw(const QString& stage, int done, int total, int files) {
        if (!m_terminal) {
            return;
        }
        constexpr int Width = 30;
        const int filled = total > 0 ? Width * std::clamp(done, 0, total) / total : Width;
        const QString bar = QString(filled, QLatin1Char('#')) + QString(Width - filled, QLatin1Char('.'));
        const QString text = QStringLiteral("[%1] %2, %3 files").arg(bar, stage).arg(files);
        std::fputs(qPrintable(QStringLiteral("\r%1").arg(text, -60)), m_terminal);
        std::fflush(m_terminal);
        m_drawn = true;
    }

    // Ends the bar's line, so what follows starts on a line of its own.
    void end() {
        if (m_drawn) {
            std::fputc('\n', m_terminal);
            std::fflush(m_terminal);
            m_drawn = false;
        }
    }

private:
    std::FILE* m_terminal = nullptr;
    bool m_drawn = false;
};

// No login window can open here: the remembered account is tried once per run, and a missing,
// refused or failed one skips the provider's parts for the whole run, as the closing summary says.
class RememberedAccountPrompt final : public LoginPrompt {
public:
    explicit RememberedAccountPrompt(const StoredSettings& settings)
        : m_account{settings.value(settings_table::QuellanUser),
                    settings.value(settings_table::QuellanPassword)} {}

    Account accountToTry() override { return m_account; }
    QCoro::Task<LoginOutcome> askForLogin(Reason reason) override { co_return outcomeWithoutAsking(reason); }

private:
    Account m_account;
};

// The run as a terminal shows it. Nobody presses Stop here and nobody moves the slider; the marked
// period is the one start-up gives, from the current hour to the end of the week.
class TerminalRunHost final : public DownloadRunHost {
public:
    TerminalRunHost(Choices choices, Period marked, ProviderSession& login, const FetchTally& tally,
                    ProgressLine& progress)
        : m_choices(choices), m_marked(marked), m_login(login), m_tally(tally), m_progress(progress) {}

    Choices choices() const override { return m_choices; }
    QCoro::Task<bool> login() override { co_return co_await m_login.CheckQuellanlogin(); }
    bool stopRequested() const override { return false; }
    QCoro::Task<> yield() override { co_return; }

    void spotsStarted(int count) override {
        m_spotCount = count;
        drawSpot(0);
    }
    void spotFetched(int index) override { drawSpot(index + 1); }
    void spotsEnded() override {}

    Period markedPeriod() const override { return m_marked; }
    void markedPeriodMoved(Period period) override { m_marked = period; }
    void chartsStarted(int firstHour, int lastHour, int) override {
        m_firstHour = firstHour;
        m_lastHour = lastHour;
        drawHour(firstHour);
    }
    void hourFetched(int hour) override { drawHour(hour); }

private:
    void drawSpot(int done) {
        m_progress.draw(QStringLiteral("spot %1 of %2").arg(done).arg(m_spotCount), done, m_spotCount,
                        m_tally.fetched);
    }
    void drawHour(int hour) {
        m_progress.draw(QStringLiteral("hour %1 of %2").arg(hour).arg(m_lastHour), hour - m_firstHour,
                        m_lastHour - m_firstHour, m_tally.fetched);
    }

    Choices m_choices;
    Period m_marked;
    ProviderSession& m_login;
    const FetchTally& m_tally;
    ProgressLine& m_progress;
    int m_spotCount = 0;
    int m_firstHour = 0;
    int m_lastHour = 0;
};

QString summary(const FetchTally& tally, qint64 milliseconds) {
    return QStringLiteral("fetched=%1 failed=%2 unchanged=%3 bytes=%4 seconds=%5")
        .arg(tally.fetched)
        .arg(tally.failed)
        .arg(tally.unchanged)
        .arg(tally.bytes)
        .arg(static_cast<double>(milliseconds) / 1000.0, 0, 'f', 1);
}

// The summary on the error output speaks English, as the rest of the command line does: what the
// run did, then the files that failed, each with its reason.
QString closingSummary(const ProgramFolder& folder, const RunReport& run) {
    InterfaceTexts texts(folder.langIniLayers());
    texts.setLanguage(InterfaceTexts::English);
    const QString failures = run.failureList(texts);
    return QStringLiteral("brisel: ") + run.endText(texts) +
           (failures.isEmpty() ? QString() : QLatin1Char('\n') + failures);
}

// What the window does at start-up that bears on a run: its stored boxes, old charts deleted when
// that box is ticked, the marked period from the current hour on.
int downloadInto(const ProgramFolder& folder, const Clock& clock) {
    ProgressLine progress;
    const auto report = [&progress](const QString& line) {
        progress.end();
        say(stderr, line);
    };
    reg::Store store(reg::makeDefaultBackend(folder.portableSettingsFile()));
    store.setErrorReporter(
        [&report](const QString& message) { report(QStringLiteral("brisel: ") + message); });
    const HostConfig hosts = HostConfig::load(folder.briselIni());
    Downloader downloader;
    downloader.setLimits(hosts.fetchLimits);
    const StoredSettings settings(store);
    if (settings.menuTicked(settings_table::kustutavanad)) {
        deleteOldCharts(folder.chartFolder(), clock.today(), viewer::chartFilesShown(clock.today()));
    }

    RunReport run;
    RememberedAccountPrompt prompt(settings);
    ProviderSession login(downloader, {hosts.provider, folder.chartFolder(), hosts.loginMarker}, prompt);
    ChartFetcher fetcher(downloader, hosts, folder.chartFolder(), clock, LocaleFormats::system(),
                         [&login] { return login.CheckQuellanlogin(); });
    const int start = viewer::startSliderHour(clock.now().time());
    TerminalRunHost host(storedChoices(settings), {start, SliderMaximum - start}, login, run.tally(),
                         progress);
    {
        const RunRecording recording(run, downloader, fetcher, login);
        QCoro::waitFor(downloadRun(fetcher, loadSpotList(folder.spotsIni()), host));
    }
    run.finish();
    if (const Expected<void> written = writeRunLog(run, lastRunLogFile()); !written) {
        report(QStringLiteral("brisel: cannot write the run's log %1: %2")
                   .arg(lastRunLogFile(), written.error()));
    }
    report(closingSummary(folder, run));
    say(stdout, summary(run.tally(), run.milliseconds()));
    const FetchTally& tally = run.tally();
    return tally.failed > 0 && tally.fetched + tally.unchanged == 0 ? 2 : 0;
}

// The pack in the interface language and for the spot the window would start with.
int exportPackInto(const QString& target, const ProgramFolder& folder, const Clock& clock) {
    reg::Store store(reg::makeDefaultBackend(folder.portableSettingsFile()));
    store.setErrorReporter([](const QString& message) { say(stderr, QStringLiteral("brisel: ") + message); });
    const StoredSettings settings(store);
    InterfaceTexts texts(folder.langIniLayers());
    texts.setLanguage(settings.language(systemInterfaceLocale()));
    QStringList spots;
    for (const Spot& spot : loadSpotList(folder.spotsIni())) {
        spots.append(spot.name);
    }
    QElapsedTimer timer;
    timer.start();
    const pack::PackResult result =
        pack::exportPack({folder.chartFolder(), spots, settings.value(settings_table::Linn), texts,
                          LocaleFormats::system(), clock.now()},
                         target);
    if (!result.written) {
        say(stderr,
            QStringLiteral("brisel: cannot write the pack: %1: %2").arg(result.failedPath, result.problem));
        return 1;
    }
    say(stdout, QStringLiteral("files=%1 bytes=%2 seconds=%3")
                    .arg(result.files)
                    .arg(result.bytes)
                    .arg(static_cast<double>(timer.elapsed()) / 1000.0, 0, 'f', 3));
    return 0;
}

// What every run without a window needs first: no stray argument, a clock, a chart folder. Says
// what is wrong, and gives nothing, when one of them is missing.
struct RunStart {
    std::unique_ptr<Clock> clock;
    ProgramFolder folder;
};
std::optional<RunStart> startWithoutWindow(const QCommandLineParser& parser) {
    if (!parser.positionalArguments().isEmpty()) {
        say(stderr,
            QStringLiteral("brisel: unexpected argument %1").arg(parser.positionalArguments().first()));
        return std::nullopt;
    }
    Expected<std::unique_ptr<Clock>> clock = command_line::clock(parser);
    if (!clock) {
        say(stderr, QStringLiteral("brisel: ") + clock.error());
        return std::nullopt;
    }
    const ProgramFolder folder = command_line::programFolder(parser);
    if (!folder.prepare()) {
        say(stderr, QStringLiteral("brisel: cannot make the chart folder in %1").arg(folder.root()));
        return std::nullopt;
    }
    return RunStart{.clock = std::move(*clock), .folder = folder};
}

} // namespace

int runDownloadWithoutWindow(const QCommandLineParser& parser) {
    const std::optional<RunStart> start = startWithoutWindow(parser);
    return start ? downloadInto(start->folder, *start->clock) : 1;
}

int exportPackWithoutWindow(const QCommandLineParser& parser) {
    if (parser.isSet(command_line::download())) {
        say(stderr, QStringLiteral("brisel: --download and --export-pack are runs of their own; give one"));
        return 1;
    }
    const std::optional<RunStart> start = startWithoutWindow(parser);
    return start ? exportPackInto(parser.value(command_line::exportPack()), start->folder, *start->clock) : 1;
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/run_report.h"

#include "net/fetch_reason.h"
#include "platform/stored_files.h"
#include "settings/interface_texts.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString Separator = QStringLiteral(" · ");
// Beyond these the list only says how many more there are: a tooltip must fit the screen.
constexpr int MostFailuresListed = 20;

struct ServiceName {
    Service service;
    const char* key;
};
// In the order the lists name them.
constexpr ServiceName Services[] = {{Service::Provider, "serviceprovider"},
                                    {Service::SailingSite, "servicesailing"}};

QString text(const InterfaceTexts& texts, const char* key) {
    return texts.keeltekst(QString::fromLatin1(key));
}

QString loginText(const InterfaceTexts& texts, const LoginResult& login) {
    switch (login.outcome) {
    case LoginOutcome::Refused:
        return text(texts, "loginrefused");
    case LoginOutcome::Failed:
        return text(texts, "loginfailedrun").arg(failureReason(texts, login.failure));
    case LoginOutcome::Cancelled:
        return text(texts, "logincancelled");
    case LoginOutcome::NoAccount:
        return text(texts, "loginmissing");
    case LoginOutcome::Accepted:
        break;
    }
    return {};
}

} // namespace

RunReport::RunReport() {
    m_clock.start();
}

void RunReport::requestEnded(const FetchRecord& request) {
    m_requests.append(request);
}

void RunReport::fileSettled(const SettledFile& file) {
    if (file.result.unchanged) {
        ++m_tally.unchanged;
    } else if (file.result.ok) {
        ++m_tally.fetched;
        m_tally.bytes += file.result.bytes;
    } else {
        ++m_tally.failed;
        m_failures.append(file);
    }
}

void RunReport::loginStarted() {
    m_awaitingLogin = true;
}

void RunReport::loginAnswered(const LoginResult& result) {
    m_awaitingLogin = false;
    if (result.outcome != LoginOutcome::Accepted) {
        m_loginDeclined = result;
    }
}

void RunReport::spotsStarted(int count) {
    m_stage = Stage::Spots;
    m_done = 0;
    m_total = count;
}

void RunReport::spotFetched(int index) {
    m_done = index + 1;
}

void RunReport::chartsStarted(int firstHour, int lastHour, int step) {
    m_stage = Stage::Charts;
    m_firstHour = firstHour;
    m_lastHour = firstHour;
    m_step = std::max(1, step);
    m_done = 0;
    m_total = (lastHour - firstHour) / m_step + 1;
}

void RunReport::hourFetched(int hour) {
    m_lastHour = hour;
    m_done = (hour - m_firstHour) / m_step + 1;
}

void RunReport::stopped() {
    m_stopped = true;
}

void RunReport::finish() {
    if (!m_finishedAfter) {
        m_finishedAfter = m_clock.elapsed();
    }
}

qint64 RunReport::milliseconds() const {
    return m_finishedAfter.value_or(m_clock.elapsed());
}

QString RunReport::filesText(const InterfaceTexts& texts) const {
    return text(texts, "runfiles").arg(m_tally.fetched).arg(m_tally.unchanged).arg(m_tally.failed);
}

QString RunReport::progressText(const InterfaceTexts& texts,
                                const std::function<QString(int)>& momentOf) const {
    const QString stage = stageText(texts, momentOf);
    return stage.isEmpty() ? filesText(texts) : stage + Separator + filesText(texts);
}

QString RunReport::stageText(const InterfaceTexts& texts, const std::function<QString(int)>& momentOf) const {
    if (m_awaitingLogin) {
        return text(texts, "loginwaiting");
    }
    switch (m_stage) {
    case Stage::Spots:
        return text(texts, "runspots").arg(m_done).arg(m_total);
    case Stage::Charts:
        return text(texts, "runcharts").arg(momentOf(m_lastHour)).arg(m_done).arg(m_total);
    case Stage::Starting:
        break;
    }
    return {};
}

QString RunReport::failedByService(const InterfaceTexts& texts) const {
    QStringList counts;
    for (const ServiceName& service : Services) {
        const auto count =
            std::count_if(m_failures.begin(), m_failures.end(),
                          [&service](const SettledFile& file) { return file.service == service.service; });
        if (count > 0) {
            counts << QStringLiteral("%1 %2").arg(text(texts, service.key)).arg(count);
        }
    }
    return counts.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(counts.join(QStringLiteral(", ")));
}

// The hours or spots told before the Stop, as the progress line last counted them.
QString RunReport::stoppedText(const InterfaceTexts& texts, const QString& files) const {
    switch (m_stage) {
    case Stage::Spots:
        return text(texts, "runstoppedspots").arg(m_done).arg(m_total).arg(files);
    case Stage::Charts:
        return text(texts, "runstoppedhours").arg(m_done).arg(m_total).arg(files);
    case Stage::Starting:
        break;
    }
    return text(texts, "runstopped").arg(files);
}

QString RunReport::endText(const InterfaceTexts& texts) const {
    const QString seconds = QString::number(static_cast<double>(milliseconds()) / 1000.0, 'f', 0);
    QString files = text(texts, "runended").arg(filesText(texts) + failedByService(texts), seconds);
    if (m_stopped) {
        files = stoppedText(texts, files);
    }
    return m_loginDeclined ? loginText(texts, *m_loginDeclined) + Separator + files : files;
}

QString RunReport::failureList(const InterfaceTexts& texts) const {
    QStringList lines;
    qsizetype listed = 0;
    for (const ServiceName& service : Services) {
        QStringList files;
        for (const SettledFile& file : m_failures) {
            if (file.service == service.service && listed < MostFailuresListed) {
                files << QStringLiteral("    %1: %2").arg(file.name, failureReason(texts, file.result));
                ++listed;
            }
        }
        if (!files.isEmpty()) {
            lines << text(texts, service.key) + QLatin1Char(':') << files;
        }
    }
    if (listed < m_failures.size()) {
        lines << text(texts, "failedmore").arg(m_failures.size() - listed);
    }
    return lines.join(QLatin1Char('\n'));
}

QByteArray RunReport::logText() const {
    QByteArray log;
    for (const FetchRecord& request : m_requests) {
        log += (request.started.toString(Qt::ISODateWithMs) + QLatin1Char(' ') +
                describeFetch(request.url, request.result) + QLatin1Char('\n'))
                   .toUtf8();
    }
    return log;
}

Expected<void> writeRunLog(const RunReport& report, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return saveFile(path, report.logText());
}

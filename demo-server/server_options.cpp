// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "demo_server.h"

#include <QCommandLineParser>
#include <limits>
#include <optional>

namespace demo {

namespace {

const QList<std::pair<QString, FaultKind>> faultNames{
    {QStringLiteral("404"), FaultKind::NotFound404}, {QStringLiteral("500"), FaultKind::ServerError500},
    {QStringLiteral("reset"), FaultKind::Reset},     {QStringLiteral("cut"), FaultKind::Cut},
    {QStringLiteral("slow"), FaultKind::Slow},       {QStringLiteral("portal"), FaultKind::Portal},
};

void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Serves Brisel's four outside services (provider, "
                                                    "sailing site, wave maps, home site) on 127.0.0.1."));
    parser.addOptions({
        {QStringLiteral("port"), QStringLiteral("Port to listen on; 0 picks a free one."),
         QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("now"), QStringLiteral("The moment the service believes it is (ISO 8601)."),
         QStringLiteral("DATE-TIME")},
        {QStringLiteral("publish-after"),
         QStringLiteral("Hours from a model run's start to its publication."), QStringLiteral("HOURS")},
        {QStringLiteral("user"), QStringLiteral("The provider account's e-mail address."),
         QStringLiteral("EMAIL")},
        {QStringLiteral("password"), QStringLiteral("The provider account's password."),
         QStringLiteral("PASSWORD")},
        {QStringLiteral("login-marker"), QStringLiteral("The provider's login-page title."),
         QStringLiteral("TEXT")},
        {QStringLiteral("latest-version"),
         QStringLiteral("Version the home site offers, major*1000000+minor*1000+rev.; without it "
                        "every program is told it is the newest."),
         QStringLiteral("N")},
        {QStringLiteral("latency-ms"), QStringLiteral("Delay added to every reply."), QStringLiteral("MS")},
        {QStringLiteral("fault-percent"), QStringLiteral("Share of requests that meet the fault."),
         QStringLiteral("P")},
        {QStringLiteral("fault-kind"), QStringLiteral("404, 500, reset, cut, slow or portal."),
         QStringLiteral("KIND")},
        {QStringLiteral("fault-path"),
         QStringLiteral("Only requests whose path starts so meet the fault, such as /cg/login/."),
         QStringLiteral("PATH")},
        {QStringLiteral("slow-ms"), QStringLiteral("How long a slow fault holds its reply."),
         QStringLiteral("MS")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the fault pattern."), QStringLiteral("N")},
        {QStringLiteral("log"), QStringLiteral("File that receives one line per request."),
         QStringLiteral("FILE")},
        {QStringLiteral("no-cache-control"),
         QStringLiteral("Say nothing of freshness: clients go by Last-Modified alone.")},
        {QStringLiteral("print-public-key"),
         QStringLiteral("Print the base64 public key of the updater's signature and exit.")},
    });
}

// Reads options one by one; the first bad value stops the reading and is reported.
class OptionReader final {
public:
    explicit OptionReader(const QCommandLineParser& parser) : m_parser(parser) {}

    void readNumber(const QString& name, qint64 minimum, qint64 maximum, auto* target) {
        if (!m_error.isEmpty() || !m_parser.isSet(name)) {
            return;
        }
        bool isNumber = false;
        const qint64 value = m_parser.value(name).toLongLong(&isNumber);
        if (!isNumber || value < minimum || value > maximum) {
            fail(name, QStringLiteral("a whole number from %1 to %2").arg(minimum).arg(maximum));
            return;
        }
        *target = static_cast<std::remove_pointer_t<decltype(target)>>(value);
    }

    void readText(const QString& name, QString* target) {
        if (!m_error.isEmpty() || !m_parser.isSet(name)) {
            return;
        }
        if (m_parser.value(name).isEmpty()) {
            fail(name, QStringLiteral("a text that is not empty"));
            return;
        }
        *target = m_parser.value(name);
    }

    void readMoment(const QString& name, QDateTime* target) {
        if (!m_error.isEmpty() || !m_parser.isSet(name)) {
            return;
        }
        const QDateTime moment = QDateTime::fromString(m_parser.value(name), Qt::ISODate);
        if (!moment.isValid()) {
            fail(name, QStringLiteral("a date and time such as 2007-04-10T03:00:00"));
            return;
        }
        *target = moment;
    }

    void readFaultKind(const QString& name, FaultKind* target) {
        if (!m_error.isEmpty() || !m_parser.isSet(name)) {
            return;
        }
        for (const auto& [text, kind] : faultNames) {
            if (text == m_parser.value(name)) {
                *target = kind;
                return;
            }
        }
        fail(name, QStringLiteral("one of 404, 500, reset, cut, slow, portal"));
    }

    QString error() const { return m_error; }

private:
    void fail(const QString& name, const QString& expected) {
        m_error = QStringLiteral("--%1 \"%2\": expected %3").arg(name, m_parser.value(name), expected);
    }

    const QCommandLineParser& m_parser;
    QString m_error;
};

void readAll(OptionReader& reader, ServerOptions* out) {
    constexpr qint64 intMaximum = std::numeric_limits<int>::max();
    reader.readNumber(QStringLiteral("port"), 0, 65535, &out->port);
    reader.readMoment(QStringLiteral("now"), &out->now);
    reader.readNumber(QStringLiteral("publish-after"), 0, 48, &out->publishAfterHours);
    reader.readText(QStringLiteral("user"), &out->user);
    reader.readText(QStringLiteral("password"), &out->password);
    reader.readText(QStringLiteral("login-marker"), &out->loginMarker);
    reader.readNumber(QStringLiteral("latest-version"), 0, intMaximum, &out->latestVersion);
    reader.readNumber(QStringLiteral("latency-ms"), 0, 600000, &out->latencyMs);
    reader.readNumber(QStringLiteral("fault-percent"), 0, 100, &out->faultPercent);
    reader.readFaultKind(QStringLiteral("fault-kind"), &out->faultKind);
    reader.readText(QStringLiteral("fault-path"), &out->faultPath);
    reader.readNumber(QStringLiteral("slow-ms"), 0, 600000, &out->slowMs);
    reader.readNumber(QStringLiteral("seed"), 0, std::numeric_limits<quint32>::max(), &out->seed);
    reader.readText(QStringLiteral("log"), &out->logFile);
}

} // namespace

Expected<ServerOptions> parseOptions(const QStringList& args) {
    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(args)) {
        return failed(parser.errorText());
    }
    if (!parser.positionalArguments().isEmpty()) {
        return failed(
            QStringLiteral("Unexpected argument: %1").arg(parser.positionalArguments().constFirst()));
    }
    ServerOptions parsed;
    OptionReader reader(parser);
    readAll(reader, &parsed);
    parsed.sendCacheControl = parsed.sendCacheControl && !parser.isSet(QStringLiteral("no-cache-control"));
    if (!reader.error().isEmpty()) {
        return failed(reader.error());
    }
    return parsed;
}

QString usageText() {
    QCommandLineParser parser;
    describeOptions(parser);
    parser.addHelpOption();
    return parser.helpText();
}

} // namespace demo

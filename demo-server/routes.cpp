// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "routes.h"

#include "model_runs.h"
#include "pictures.h"
#include "text_answers.h"
#include "updater_signing.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace demo {

namespace {

using namespace std::chrono_literals;

const QByteArray gifType = QByteArrayLiteral("image/gif");
// A model run's chart never changes once published; the rest is drawn anew every few minutes.
constexpr std::chrono::seconds ModelRunChartKept = 7 * 24h;
constexpr std::chrono::seconds ChangingPictureKept = 10min;

Reply found(const QByteArray& contentType, const QByteArray& body) {
    return Reply{200, contentType, body};
}

// Patterns are compiled once in each of the server's threads, which then share nothing.
bool isCoordinate(const QString& text) {
    static thread_local const QRegularExpression number(QStringLiteral(R"(^-?\d+(\.\d+)?$)"));
    return number.match(text).hasMatch();
}

QDate dateOf(const QRegularExpressionMatch& match, int firstGroup) {
    return QDate(match.captured(firstGroup).toInt(), match.captured(firstGroup + 1).toInt(),
                 match.captured(firstGroup + 2).toInt());
}

// The sailing site keeps its three-hourly maps from yesterday evening to a week ahead.
bool isSailingSlotKept(const QDateTime& slot, const QDate& today) {
    const QDateTime first(today.addDays(-1), QTime(21, 0));
    const QDateTime last(today.addDays(7), QTime(0, 0));
    return slot >= first && slot <= last;
}

} // namespace

Reply notFound() {
    return Reply{404, QByteArrayLiteral("text/plain"), QByteArrayLiteral("Not found\n")};
}

Routes::Routes(const ServerOptions& options, const ServiceClock& clock, const QUrl& base)
    : m_options(options), m_clock(clock), m_base(base) {}

Reply Routes::answer(const QString& path, const Query& query) {
    if (path.startsWith(QLatin1String("/m/EU0/maps/BA/"))) {
        return providerChart(path);
    }
    if (path == QLatin1String("/cg/login/")) {
        return login(query);
    }
    if (path == QLatin1String("/cg/mgx")) {
        return pointForecast(query);
    }
    if (path.startsWith(QLatin1String("/cg/pics/mgx/"))) {
        return meteogram(path);
    }
    if (path.startsWith(QLatin1String("/daten/segel/"))) {
        return sailingMap(path);
    }
    if (path.startsWith(QLatin1String("/stc/itamerinyt/images/data/"))) {
        return waveMap(path);
    }
    if (path == QLatin1String("/brl/uuendused.php3")) {
        return updateInfo(query);
    }
    if (path == QLatin1String("/brl/uuendus.exe")) {
        return found(QByteArrayLiteral("application/octet-stream"), servedUpdater());
    }
    if (path == QLatin1String("/brl/uuendus.exe.sig")) {
        return found(QByteArrayLiteral("application/octet-stream"), demoSignature(updaterProgram()));
    }
    if (path == QLatin1String("/brl/toetajad.php")) {
        return found(QByteArrayLiteral("text/plain"), supportersList());
    }
    return notFound();
}

Reply Routes::providerChart(const QString& path) {
    const std::optional<ChartRequest> chart = parseChartPath(path);
    if (!chart || !isRunAvailable(chart->runStart(), m_clock.now(), m_options.publishAfterHours)) {
        return notFound();
    }
    return keptFor(picture(path, [&chart] { return drawAreaChart(*chart); }), ModelRunChartKept);
}

Reply Routes::login(const Query& query) const {
    const bool accepted = query.contains(QStringLiteral("email")) &&
                          query.contains(QStringLiteral("th_password")) &&
                          query.value(QStringLiteral("email")) == m_options.user &&
                          query.value(QStringLiteral("th_password")) == m_options.password;
    return found(QByteArrayLiteral("text/html"), loginPage(accepted, m_options.loginMarker, m_options.user));
}

Reply Routes::pointForecast(const Query& query) const {
    const QString lon = query.value(QStringLiteral("lon"));
    const QString lat = query.value(QStringLiteral("lat"));
    if (!isCoordinate(lon) || !isCoordinate(lat)) {
        return notFound();
    }
    return keptFor(
        found(QByteArrayLiteral("text/xml"), demo::pointForecast(m_clock.now().date(), lon, lat, m_base)),
        ChangingPictureKept);
}

Reply Routes::meteogram(const QString& path) {
    static thread_local const QRegularExpression pattern(
        QStringLiteral(R"(^/cg/pics/mgx/(-?\d+(?:\.\d+)?)_(-?\d+(?:\.\d+)?)_(\d{4})(\d\d)(\d\d)\.gif$)"));
    const QRegularExpressionMatch match = pattern.match(path);
    const QDate day = match.hasMatch() ? dateOf(match, 3) : QDate();
    if (!day.isValid()) {
        return notFound();
    }
    return keptFor(
        picture(path, [&match, &day] { return drawMeteogram(match.captured(1), match.captured(2), day); }),
        ChangingPictureKept);
}

Reply Routes::sailingMap(const QString& path) {
    static thread_local const QRegularExpression pattern(
        QStringLiteral(R"(^/daten/segel/(\d{4})/(\d\d)/(\d\d)/(0003|0016)(\d\d)\.gif$)"));
    const QRegularExpressionMatch match = pattern.match(path);
    if (!match.hasMatch()) {
        return notFound();
    }
    const int hour = match.captured(5).toInt();
    const QDateTime slot(dateOf(match, 1), QTime(hour, 0));
    if (hour % 3 != 0 || hour > 21 || !slot.isValid() || !isSailingSlotKept(slot, m_clock.now().date())) {
        return notFound();
    }
    return keptFor(picture(path, [&match, &slot] { return drawSailingMap(match.captured(4), slot); }),
                   ChangingPictureKept);
}

Reply Routes::waveMap(const QString& path) {
    static thread_local const QRegularExpression pattern(
        QStringLiteral(R"(^/stc/itamerinyt/images/data/wave(\d\d)\.gif$)"));
    const QRegularExpressionMatch match = pattern.match(path);
    const int lead = match.hasMatch() ? match.captured(1).toInt() : 0;
    if (lead < 3 || lead > 54 || lead % 3 != 0) {
        return notFound();
    }
    return keptFor(picture(path, [lead] { return drawWaveMap(lead); }), ChangingPictureKept);
}

Reply Routes::updateInfo(const Query& query) const {
    bool isNumber = false;
    const int version = query.value(QStringLiteral("ver")).toInt(&isNumber);
    if (!isNumber) {
        return notFound();
    }
    if (!m_options.updateAnswer.isEmpty()) {
        return found(QByteArrayLiteral("text/plain"), m_options.updateAnswer);
    }
    return found(QByteArrayLiteral("text/plain"),
                 updateAnswer(version, m_options.latestVersion.value_or(version)));
}

// A tampered updater differs in its last byte, as a program changed on the way would.
QByteArray Routes::servedUpdater() const {
    QByteArray program = updaterProgram();
    if (m_options.tamperUpdater) {
        program.back() = char(program.back() ^ 0x01);
    }
    return program;
}

Reply Routes::picture(const QString& path, const std::function<QImage()>& draw) {
    const CachedPicture picture = m_pictures.gifFor(path, m_clock.now(), draw);
    if (picture.gif.isEmpty()) {
        return Reply{500, QByteArrayLiteral("text/plain"), QByteArrayLiteral("Picture failed\n")};
    }
    Reply reply = found(gifType, picture.gif);
    reply.lastModified = picture.drawn;
    reply.etag = '"' + QCryptographicHash::hash(picture.gif, QCryptographicHash::Sha1).toHex().left(16) + '"';
    return reply;
}

Reply Routes::keptFor(Reply reply, std::chrono::seconds maxAge) const {
    if (reply.status == 200 && m_options.sendCacheControl) {
        reply.cacheControl = "max-age=" + QByteArray::number(qint64(maxAge.count()));
    }
    return reply;
}

} // namespace demo

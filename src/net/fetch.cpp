// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/fetch.h"

#include "net/file_origin.h"
#include "net/provider_requests.h"
#include "platform/picture_check.h"
#include "platform/stored_files.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QPointer>
#include <QTimer>
#include <mutex>
#include <qcoro/qcoronetworkreply.h>

Q_LOGGING_CATEGORY(lcDownload, "brisel.download", QtInfoMsg)

namespace {

// What a reply holds in memory before it is read: beyond it the server waits, so a body arrives no
// faster than it is written to the disk.
constexpr qint64 ReadBufferSize = 64 * 1024;
// A reply's head beyond these is a flood, not an answer: the services send a dozen fields.
constexpr qsizetype MostHeaderFields = 100;
constexpr qint64 MostHeaderBytes = 64 * 1024;

bool isPictureFile(const QString& targetFile) {
    return targetFile.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive);
}

// The largest body a target may receive: a chart, map or meteogram picture; the updater program;
// any other file is an answer file.
qint64 capFor(const QString& targetFile) {
    if (isPictureFile(targetFile)) {
        return LargestPictureFile;
    }
    if (targetFile.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        return LargestUpdaterFile;
    }
    return LargestAnswerFile;
}

bool isWebAddress(const QUrl& url) {
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

int httpStatusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// A body announced with a length that did not all arrive.
bool isCutShort(const QNetworkReply& reply, qint64 received) {
    const QVariant announced = reply.header(QNetworkRequest::ContentLengthHeader);
    return announced.isValid() && announced.toLongLong() != received;
}

// Qt 6.4 reads a head of more than 100 fields or 64 KiB as one without any field and goes on with
// the body, so a head without fields stands for a flood too: every server the program asks sends
// at least its length, its coding or its type.
bool isHeaderFlood(const QNetworkReply& reply) {
    const QList<QNetworkReply::RawHeaderPair>& fields = reply.rawHeaderPairs();
    if (fields.isEmpty() || fields.size() > MostHeaderFields) {
        return true;
    }
    qint64 bytes = 0;
    for (const QNetworkReply::RawHeaderPair& field : fields) {
        bytes += field.first.size() + field.second.size();
    }
    return bytes > MostHeaderBytes;
}

// The body's content coding when it is not the file itself. Every request asks for the file as it
// is: a compressed body cannot be stored as the file, and once unpacked on the way in, a cut
// stream would pass for a whole one.
QByteArray contentCodingOf(const QNetworkReply& reply) {
    const QByteArray coding = reply.rawHeader("Content-Encoding").trimmed().toLower();
    return coding == "identity" ? QByteArray() : coding;
}

// Why a fetch failed, and whether the host is to blame: a host that does not answer, or answers
// with a flood, counts toward giving it up; a file that is wrong or too slow as a whole does not.
struct Failure {
    FetchFailure kind = FetchFailure::None;
    QString text;
    bool hostFault = false;
};

// Takes a reply's body into a file staged beside the target as it arrives, so a large or slow
// reply never piles up in memory and the target is replaced only on commit. A head that floods, or
// a body larger than the target's cap, announced or received, ends the reply.
class BodyReceiver final {
public:
    explicit BodyReceiver(const QString& targetFile) : m_file(targetFile), m_cap(capFor(targetFile)) {}

    Expected<void> open() { return m_file.open(); }

    void checkHead(QNetworkReply& reply) {
        if (isHeaderFlood(reply)) {
            refuse(reply, {.kind = FetchFailure::Other,
                           .text = QStringLiteral("the reply's head is over %1 fields or %2 bytes")
                                       .arg(MostHeaderFields)
                                       .arg(MostHeaderBytes),
                           .hostFault = true});
            return;
        }
        const QVariant announced = reply.header(QNetworkRequest::ContentLengthHeader);
        if (announced.isValid() && announced.toLongLong() > m_cap) {
            refuse(reply,
                   {.kind = FetchFailure::Other,
                    .text = QStringLiteral("a body of %1 bytes was announced, over the cap of %2 bytes")
                                .arg(announced.toLongLong())
                                .arg(m_cap)});
        }
    }

    void take(QNetworkReply& reply) {
        if (!reply.isOpen()) {
            return; // aborted: closed, with nothing more to read
        }
        const QByteArray chunk = reply.readAll();
        if (m_refusal.kind != FetchFailure::None) {
            return;
        }
        if (m_bytes + chunk.size() > m_cap) {
            refuse(reply, {.kind = FetchFailure::Other,
                           .text = QStringLiteral("the body is over the cap of %1 bytes").arg(m_cap)});
            return;
        }
        m_bytes += chunk.size();
        // An error page is never stored, and a disk that cannot take it must not hide the status.
        if (const int status = httpStatusOf(reply); status != 0 && (status < 200 || status > 299)) {
            return;
        }
        if (const Expected<void> written = m_file.write(chunk); !written) {
            refuse(reply, {.kind = FetchFailure::Storage, .text = written.error()});
        }
    }

    // Why the body as it arrived may not be stored: a picture is judged by its own structure, which
    // holds where the transfer cannot tell a cut body from a whole one (a connection reset, a broken
    // chunk line, a length announced short).
    Failure judge() const {
        if (!isPictureFile(m_file.target())) {
            return {};
        }
        const Expected<QByteArray> body = staged();
        if (!body) {
            return {.kind = FetchFailure::Storage, .text = body.error()};
        }
        switch (judgePicture(*body)) {
        case PictureVerdict::Whole:
            return {};
        case PictureVerdict::CutShort:
            return {.kind = FetchFailure::CutShort,
                    .text = QStringLiteral("the picture was cut short after %1 bytes").arg(m_bytes)};
        case PictureVerdict::TooLarge:
            return {
                .kind = FetchFailure::NotAPicture,
                .text =
                    QStringLiteral("the picture claims more than %1 pixels a side").arg(LargestPictureSide)};
        case PictureVerdict::NotAPicture:
            break;
        }
        return {.kind = FetchFailure::NotAPicture, .text = QStringLiteral("the body is not a picture")};
    }

    Expected<QByteArray> staged() const { return readRegularFile(m_file.stagingPath(), m_cap); }

    // The staged body takes the target's place, with its origin when one is given. An origin the
    // file system does not keep only makes the next fetch a whole one.
    Expected<void> commit(const std::optional<FileOrigin>& origin) {
        if (origin && !writeFileOrigin(m_file.stagingPath(), *origin)) {
            qCDebug(lcDownload) << "the file system keeps no origin for" << m_file.target();
        }
        return m_file.commit();
    }
    void discard() { m_file.discard(); }

    const Failure& refusal() const { return m_refusal; }
    qint64 bytes() const { return m_bytes; }

    // Ends the reply; the first reason given is the one kept.
    void refuse(QNetworkReply& reply, Failure why) {
        if (m_refusal.kind == FetchFailure::None) {
            m_refusal = std::move(why);
        }
        // Queued: aborting here would end the fetch while this receiver is still in use.
        QMetaObject::invokeMethod(&reply, &QNetworkReply::abort, Qt::QueuedConnection);
    }

private:
    StagedFile m_file;
    const qint64 m_cap;
    qint64 m_bytes = 0;
    Failure m_refusal;
};

// Gives a fetch up when no connection is made within the connect limit, when nothing arrives for
// the idle limit (before the head, after it or in the middle of the body: either way the host
// has stopped answering), or when the deadline has passed.
//
// A limit that runs out is confirmed only once the events already waiting have been handled: data
// that arrived while the window was busy arrived in time.
class Patience final {
public:
    Patience(QNetworkReply& reply, const FetchLimits& limits) : m_reply(reply) {
        for (QTimer* timer : {&m_connecting, &m_idle, &m_deadline}) {
            timer->setSingleShot(true);
        }
        m_idle.setInterval(limits.idle);
        QObject::connect(&reply, &QNetworkReply::socketStartedConnecting, &m_connecting,
                         [this, limit = limits.connect] { m_connecting.start(limit); });
        QObject::connect(&reply, &QNetworkReply::requestSent, &m_connecting, [this] {
            ++m_activity;
            m_connecting.stop();
        });
        const auto heard = [this] {
            ++m_activity;
            m_idle.start();
        };
        QObject::connect(&reply, &QNetworkReply::metaDataChanged, &m_idle, heard);
        QObject::connect(&reply, &QNetworkReply::readyRead, &m_idle, heard);
        QObject::connect(&m_connecting, &QTimer::timeout, &m_connecting, [this, limit = limits.connect] {
            lapse({.kind = FetchFailure::Timeout,
                   .text = QStringLiteral("no connection within %1 ms").arg(limit.count()),
                   .hostFault = true},
                  Unless::SomethingMoved);
        });
        QObject::connect(&m_idle, &QTimer::timeout, &m_idle, [this, limit = limits.idle] {
            lapse({.kind = FetchFailure::Timeout,
                   .text = QStringLiteral("nothing received for %1 ms").arg(limit.count()),
                   .hostFault = true},
                  Unless::SomethingMoved);
        });
        QObject::connect(&m_deadline, &QTimer::timeout, &m_deadline, [this, limit = limits.deadline] {
            lapse({.kind = FetchFailure::Timeout,
                   .text = QStringLiteral("not done within %1 ms").arg(limit.count())},
                  Unless::Finished);
        });
        m_idle.start();
        m_deadline.start(limits.deadline);
    }

    // Why the fetch was given up; no kind while it was not.
    const Failure& reason() const { return m_reason; }

private:
    // What, among the events waiting, takes a lapse back: a finished reply always does, since the
    // fetch and this object end with it.
    enum class Unless { SomethingMoved, Finished };

    void lapse(Failure why, Unless unless) {
        const quint64 seen = m_activity;
        QMetaObject::invokeMethod(
            &m_deadline,
            [this, why = std::move(why), unless, seen] {
                const bool takenBack = unless == Unless::SomethingMoved && m_activity != seen;
                if (m_reason.kind == FetchFailure::None && !takenBack) {
                    giveUp(why);
                }
            },
            Qt::QueuedConnection);
    }

    void giveUp(const Failure& why) {
        m_reason = why;
        for (QTimer* timer : {&m_connecting, &m_idle, &m_deadline}) {
            timer->stop();
        }
        // Queued: aborting here would end the fetch while this timer is still in use.
        QMetaObject::invokeMethod(&m_reply, &QNetworkReply::abort, Qt::QueuedConnection);
    }

    QNetworkReply& m_reply;
    QTimer m_connecting;
    QTimer m_idle;
    QTimer m_deadline;
    quint64 m_activity = 0;
    Failure m_reason;
};

// Why a finished reply must not replace the target; no kind when it may.
Failure rejectionOf(const QNetworkReply& reply, const BodyReceiver& body, const Patience& patience) {
    if (body.refusal().kind != FetchFailure::None) {
        return body.refusal();
    }
    if (patience.reason().kind != FetchFailure::None) {
        return patience.reason();
    }
    // An answer of the server, or a body that ended early, says more than the error it leads to.
    const int status = httpStatusOf(reply);
    if (status != 0 && (status < 200 || status > 299)) {
        return {.kind = FetchFailure::HttpStatus, .text = QStringLiteral("HTTP status %1").arg(status)};
    }
    if (status != 0 && isCutShort(reply, body.bytes())) {
        return {.kind = FetchFailure::CutShort,
                .text = QStringLiteral("body cut short after %1 bytes").arg(body.bytes())};
    }
    if (reply.error() == QNetworkReply::ConnectionRefusedError ||
        reply.error() == QNetworkReply::HostNotFoundError) {
        return {.kind = FetchFailure::NoConnection, .text = reply.errorString(), .hostFault = true};
    }
    if (reply.error() != QNetworkReply::NoError) {
        return {.kind = FetchFailure::Other, .text = reply.errorString()};
    }
    if (status == 0) {
        return {.kind = FetchFailure::Other, .text = QStringLiteral("no HTTP status")};
    }
    if (const QByteArray coding = contentCodingOf(reply); !coding.isEmpty()) {
        return {.kind = FetchFailure::Other,
                .text = QStringLiteral("the body came encoded as %1").arg(QString::fromLatin1(coding))};
    }
    return body.judge();
}

QByteArray originAddress(const QUrl& url) {
    return url.adjusted(QUrl::RemoveUserInfo).toEncoded();
}

// A stored picture that is not whole (cut by an earlier fault, or swapped by hand) must be
// fetched whole: the server would confirm a cut file as unchanged.
bool isWholeStoredFile(const QString& targetFile) {
    const Expected<QByteArray> stored = readRegularFile(targetFile, capFor(targetFile));
    return stored && (!isPictureFile(targetFile) || judgePicture(*stored) == PictureVerdict::Whole);
}

// What the stored target says of itself when it came from this very address and is whole.
std::optional<FileOrigin> storedOrigin(const QString& targetFile, const QUrl& url) {
    std::optional<FileOrigin> origin = readFileOrigin(targetFile);
    if (!origin || origin->url != originAddress(url) || !isWholeStoredFile(targetFile)) {
        return std::nullopt;
    }
    return origin;
}

bool hasValidators(const FileOrigin& origin) {
    return !origin.lastModified.isEmpty() || !origin.etag.isEmpty();
}

void askOnlyIfChanged(QNetworkRequest& request, const FileOrigin& stored) {
    if (!stored.lastModified.isEmpty()) {
        request.setRawHeader("If-Modified-Since", stored.lastModified);
    }
    if (!stored.etag.isEmpty()) {
        request.setRawHeader("If-None-Match", stored.etag);
    }
}

FreshnessRecord freshnessOf(const QNetworkReply& reply, qint64 receivedAt) {
    return {.cacheControl = reply.rawHeader("Cache-Control"),
            .expires = reply.rawHeader("Expires"),
            .date = reply.rawHeader("Date"),
            .age = reply.rawHeader("Age"),
            .lastModified = reply.rawHeader("Last-Modified"),
            .receivedAt = receivedAt};
}

FileOrigin originOf(const QNetworkReply& reply, const QUrl& url, qint64 receivedAt) {
    return {.url = originAddress(url),
            .lastModified = reply.rawHeader("Last-Modified"),
            .etag = reply.rawHeader("ETag"),
            .freshness = freshnessOf(reply, receivedAt)};
}

// A 304 updates what the stored reply said of its freshness with what it says itself.
FreshnessRecord renewedFreshness(const QNetworkReply& reply, const FileOrigin& stored, qint64 receivedAt) {
    FreshnessRecord renewed = freshnessOf(reply, receivedAt);
    const FreshnessRecord before = stored.freshness.value_or(FreshnessRecord{});
    for (QByteArray FreshnessRecord::*field : {&FreshnessRecord::cacheControl, &FreshnessRecord::expires,
                                               &FreshnessRecord::date, &FreshnessRecord::age}) {
        if ((renewed.*field).isEmpty()) {
            renewed.*field = before.*field;
        }
    }
    renewed.lastModified = stored.lastModified;
    return renewed;
}

bool isStillFresh(const FileOrigin& stored, const QUrl& url, qint64 now) {
    return stored.freshness && isFresh(*stored.freshness, now, areaChartRunOf(url).has_value());
}

bool isNotModified(const QNetworkReply& reply, const BodyReceiver& body) {
    return body.refusal().kind == FetchFailure::None && reply.error() == QNetworkReply::NoError &&
           httpStatusOf(reply) == 304;
}

FetchResult failure(FetchFailure kind, const QString& error) {
    return {.ok = false, .error = error, .failure = kind};
}

FetchResult resultOf(const Failure& failed, int httpStatus, qint64 bytes) {
    return {.ok = failed.kind == FetchFailure::None,
            .httpStatus = httpStatus,
            .error = failed.text,
            .bytes = bytes,
            .unreachable = failed.hostFault,
            .failure = failed.kind};
}

QString outcomeText(const FetchResult& result) {
    if (result.fresh) {
        return QStringLiteral("fresh");
    }
    if (result.unchanged) {
        return QStringLiteral("unchanged");
    }
    return result.ok ? QStringLiteral("ok") : result.error;
}

} // namespace

QString hostOf(const QUrl& url) {
    const int defaultPort = url.scheme() == QLatin1String("https") ? 443 : 80;
    return QStringLiteral("%1://%2:%3").arg(url.scheme(), url.host()).arg(url.port(defaultPort));
}

QString describeFetch(const QUrl& url, const FetchResult& result) {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(url.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo))
        .arg(result.httpStatus)
        .arg(result.bytes)
        .arg(result.milliseconds)
        .arg(outcomeText(result));
}

Downloader::Downloader(QObject* parent) : QObject(parent) {
    static std::once_flag systemProxy;
    std::call_once(systemProxy, [] { QNetworkProxyFactory::setUseSystemConfiguration(true); });
}

// Running fetches end as failures and discard their staged files. Their replies are aborted
// while the managers still exist and are then let go of, because each fetch learns of the end
// only from the event loop, after the managers are gone; the fetch itself deletes its reply.
Downloader::~Downloader() {
    shutDown();
}

void Downloader::shutDown() {
    m_shutDown = true;
    const QList<QNetworkReply*> running = findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : running) {
        reply->abort();
        reply->setParent(nullptr);
    }
}

// One manager for each host: Qt reads the replies of a manager on one thread of its own, a head
// byte by byte, so a host that floods its replies' heads would hold every other host's replies
// unread for as long as it floods.
QNetworkAccessManager& Downloader::managerFor(const QUrl& url) {
    QNetworkAccessManager*& manager = m_managers[hostOf(url)];
    if (!manager) {
        manager = new QNetworkAccessManager(this);
        manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
    }
    return *manager;
}

QCoro::Task<FetchResult> Downloader::fetch(QUrl url, QString targetFile, Refresh refresh,
                                           ReaderCheck readerCheck) {
    const QPointer<Downloader> self(this);
    const QDateTime started = QDateTime::currentDateTime();
    QElapsedTimer clock;
    clock.start();
    FetchResult result = co_await fetchOnce(url, std::move(targetFile), refresh, std::move(readerCheck));
    result.milliseconds = clock.elapsed();
    qCDebug(lcDownload).noquote() << describeFetch(url, result);
    if (self) {
        Q_EMIT self->fetchEnded({started, url, result});
    }
    co_return result;
}

// After the first suspension this coroutine touches only its own frame and the reply, never the
// Downloader, which may be going away.
QCoro::Task<FetchResult> Downloader::fetchOnce(QUrl url, QString targetFile, Refresh refresh,
                                               ReaderCheck readerCheck) {
    if (!isWebAddress(url)) {
        co_return failure(FetchFailure::Other, QStringLiteral("not an http or https address"));
    }
    if (m_shutDown) {
        co_return failure(FetchFailure::Other, QStringLiteral("the program is ending"));
    }
    const std::optional<FileOrigin> stored =
        refresh == Refresh::Whole ? std::nullopt : storedOrigin(targetFile, url);
    const bool conditional = stored && hasValidators(*stored);
    if (refresh == Refresh::IfStale && stored && isStillFresh(*stored, url, m_systemClock())) {
        co_return FetchResult{.ok = true, .unchanged = true, .fresh = true};
    }
    BodyReceiver body(targetFile);
    if (const Expected<void> opened = body.open(); !opened) {
        co_return failure(FetchFailure::Storage, opened.error());
    }
    QNetworkRequest request(url);
    request.setRawHeader("Accept-Encoding", "identity");
    if (conditional) {
        askOnlyIfChanged(request, *stored);
    }
    QNetworkReply* reply = managerFor(url).get(request);
    reply->setReadBufferSize(ReadBufferSize);
    const Patience patience(*reply, m_limits);
    const QMetaObject::Connection heading =
        connect(reply, &QNetworkReply::metaDataChanged, reply, [&body, reply] { body.checkHead(*reply); });
    const QMetaObject::Connection streaming =
        connect(reply, &QNetworkReply::readyRead, reply, [&body, reply] { body.take(*reply); });
    const std::function<qint64()> systemClock = m_systemClock;

    co_await qCoro(reply).waitForFinished();
    body.take(*reply);
    disconnect(heading);
    disconnect(streaming);
    reply->deleteLater();

    if (conditional && isNotModified(*reply, body)) {
        body.discard();
        renewFreshness(targetFile, renewedFreshness(*reply, *stored, systemClock()));
        co_return FetchResult{.ok = true, .httpStatus = 304, .unchanged = true};
    }
    Failure failed = rejectionOf(*reply, body, patience);
    const std::optional<FileOrigin> origin =
        refresh == Refresh::Whole ? std::nullopt : std::optional(originOf(*reply, url, systemClock()));
    if (failed.kind == FetchFailure::None && readerCheck) {
        const Expected<QByteArray> answer = body.staged();
        if (!answer) {
            failed = {FetchFailure::Storage, answer.error()};
        } else if (!readerCheck(*answer)) {
            failed = {FetchFailure::Other, QStringLiteral("the answer is not what its reader expects")};
        } else if (readRegularFile(targetFile, LargestAnswerFile) == *answer) {
            body.discard();
            if (origin) {
                writeFileOrigin(targetFile, *origin);
            }
            co_return resultOf({}, httpStatusOf(*reply), body.bytes());
        }
    }
    if (failed.kind == FetchFailure::None) {
        if (const Expected<void> committed = body.commit(origin); !committed) {
            failed = {FetchFailure::Storage, committed.error()};
        }
    }
    if (failed.kind != FetchFailure::None) {
        body.discard();
    }
    co_return resultOf(failed, httpStatusOf(*reply), body.bytes());
}

QCoro::Task<bool> Downloader::downloadi(QString urrl, QString failinimi) {
    const FetchResult result = co_await fetch(QUrl(urrl, QUrl::TolerantMode), failinimi);
    co_return result.ok;
}

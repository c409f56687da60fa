#include "net/fetch.h"

#include "net/file_origin.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QPointer>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QTimer>
#include <algorithm>
#include <array>
#include <filesystem>
#include <mutex>
#include <qcoro/qcoronetworkreply.h>

Q_LOGGING_CATEGORY(lcDownload, "brisel.download", QtInfoMsg)

namespace {

constexpr qsizetype LongestSignature = 8;
constexpr qint64 MiB = 1024 * 1024;
// What a reply holds in memory before it is read: beyond it the server waits, so a body arrives no
// faster than it is written to the disk.
constexpr qint64 ReadBufferSize = 64 * 1024;

bool isPictureFile(const QString& targetFile) {
    return targetFile.endsWith(QLatin1String(".gif"), Qt::CaseInsensitive);
}

// The largest body a target may receive: a chart, map or meteogram picture; the updater program;
// any other file is an answer file.
qint64 capFor(const QString& targetFile) {
    if (isPictureFile(targetFile)) {
        return 16 * MiB;
    }
    if (targetFile.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        return 256 * MiB;
    }
    return MiB;
}

bool isWebAddress(const QUrl& url) {
    return url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

bool isPicture(const QByteArray& head) {
    static const std::array<QByteArray, 4> signatures = {
        QByteArrayLiteral("GIF87a"), QByteArrayLiteral("GIF89a"), QByteArrayLiteral("\x89PNG\r\n\x1a\n"),
        QByteArrayLiteral("\xFF\xD8\xFF")};
    return std::any_of(signatures.begin(), signatures.end(),
                       [&head](const QByteArray& signature) { return head.startsWith(signature); });
}

int httpStatusOf(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// A body announced with a length that did not all arrive.
bool isCutShort(const QNetworkReply& reply, qint64 received) {
    const QVariant announced = reply.header(QNetworkRequest::ContentLengthHeader);
    return announced.isValid() && announced.toLongLong() != received;
}

// The body's content coding when it is not the file itself. Every request asks for the file as it
// is: a compressed body cannot be stored as the file, and once unpacked on the way in, a cut
// stream would pass for a whole one.
QByteArray contentCodingOf(const QNetworkReply& reply) {
    const QByteArray coding = reply.rawHeader("Content-Encoding").trimmed().toLower();
    return coding == "identity" ? QByteArray() : coding;
}

// A name beside the target that nothing has yet: the body is staged under it, because QSaveFile
// follows a link at the name it is given and would write wherever the link points.
QString freshNameBeside(const QString& targetFile) {
    QString name;
    do {
        name = targetFile + QStringLiteral(".%1.part").arg(QRandomGenerator::global()->generate64(), 0, 36);
    } while (QFileInfo::exists(name) || QFileInfo(name).isSymLink());
    return name;
}

// Takes a reply's body into a temporary file beside the target as it arrives, so a large or slow
// reply never piles up in memory and the target is replaced only on commit. A body larger than the
// target's cap, announced or received, ends the reply.
class BodyReceiver final {
public:
    explicit BodyReceiver(const QString& targetFile)
        : m_target(targetFile), m_file(freshNameBeside(targetFile)), m_cap(capFor(targetFile)) {}

    // Unbuffered, so a write the disk refuses fails here, at once: a buffered write would only
    // fail at the flush in commit(), which QSaveFile does not report, renaming a cut file.
    bool open() { return m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered); }

    void checkAnnouncedLength(QNetworkReply& reply) {
        const QVariant announced = reply.header(QNetworkRequest::ContentLengthHeader);
        if (announced.isValid() && announced.toLongLong() > m_cap) {
            refuse(reply, FetchFailure::Other,
                   QStringLiteral("a body of %1 bytes was announced, over the cap of %2 bytes")
                       .arg(announced.toLongLong())
                       .arg(m_cap));
        }
    }

    void take(QNetworkReply& reply) {
        if (!reply.isOpen()) {
            return; // aborted: closed, with nothing more to read
        }
        const QByteArray chunk = reply.readAll();
        if (!m_refusal.isEmpty()) {
            return;
        }
        if (m_bytes + chunk.size() > m_cap) {
            refuse(reply, FetchFailure::Other,
                   QStringLiteral("the body is over the cap of %1 bytes").arg(m_cap));
            return;
        }
        m_head += chunk.left(LongestSignature - m_head.size());
        m_bytes += chunk.size();
        if (m_file.write(chunk) != chunk.size()) {
            refuse(reply, FetchFailure::Other, m_file.errorString());
        }
    }

    // The staged body takes the target's place, with its origin when one is given; the reason when
    // it could not. An origin the file system does not keep only makes the next fetch a whole one.
    // rename() replaces the target's own entry in the folder, so a link there is replaced, never
    // followed out of it.
    QString commit(const std::optional<FileOrigin>& origin) {
        if (!m_file.commit()) {
            return m_file.errorString();
        }
        if (origin && !writeFileOrigin(m_file.fileName(), *origin)) {
            qCDebug(lcDownload) << "the file system keeps no origin for" << m_target;
        }
        std::error_code error;
        std::filesystem::rename(QFileInfo(m_file.fileName()).filesystemFilePath(),
                                QFileInfo(m_target).filesystemFilePath(), error);
        if (error) {
            QFile::remove(m_file.fileName());
            return QString::fromStdString(error.message());
        }
        return {};
    }
    void discard() { m_file.cancelWriting(); }

    // Why the body was not taken whole; empty while it is.
    const QString& refusal() const { return m_refusal; }
    FetchFailure refusalKind() const { return m_refusalKind; }
    QString errorString() const { return m_file.errorString(); }
    qint64 bytes() const { return m_bytes; }
    const QByteArray& head() const { return m_head; }

    // Ends the reply; the first reason given is the one kept.
    void refuse(QNetworkReply& reply, FetchFailure kind, const QString& reason) {
        if (m_refusal.isEmpty()) {
            m_refusal = reason;
            m_refusalKind = kind;
        }
        // Queued: aborting here would end the fetch while this receiver is still in use.
        QMetaObject::invokeMethod(&reply, &QNetworkReply::abort, Qt::QueuedConnection);
    }

private:
    const QString m_target;
    QSaveFile m_file;
    const qint64 m_cap;
    QByteArray m_head;
    qint64 m_bytes = 0;
    QString m_refusal;
    FetchFailure m_refusalKind = FetchFailure::None;
};

// Gives a fetch up when no connection is made within the connect limit, or when nothing arrives
// for the idle limit. Before a reply began, either means the host did not answer.
class Patience final {
public:
    Patience(QNetworkReply& reply, const FetchLimits& limits) {
        m_connecting.setSingleShot(true);
        m_idle.setSingleShot(true);
        m_idle.setInterval(limits.idle);
        QObject::connect(&reply, &QNetworkReply::socketStartedConnecting, &m_connecting,
                         [this, limit = limits.connect] { m_connecting.start(limit); });
        QObject::connect(&reply, &QNetworkReply::requestSent, &m_connecting, &QTimer::stop);
        QObject::connect(&reply, &QNetworkReply::metaDataChanged, &m_idle, qOverload<>(&QTimer::start));
        QObject::connect(&reply, &QNetworkReply::readyRead, &m_idle, qOverload<>(&QTimer::start));
        QObject::connect(&m_connecting, &QTimer::timeout, &reply, [this, &reply, limit = limits.connect] {
            giveUp(reply, QStringLiteral("no connection within %1 ms").arg(limit.count()));
        });
        QObject::connect(&m_idle, &QTimer::timeout, &reply, [this, &reply, limit = limits.idle] {
            giveUp(reply, QStringLiteral("nothing received for %1 ms").arg(limit.count()));
        });
        m_idle.start();
    }

    // Why the fetch was given up; empty while it was not.
    const QString& reason() const { return m_reason; }

private:
    void giveUp(QNetworkReply& reply, const QString& reason) {
        m_reason = reason;
        m_connecting.stop();
        m_idle.stop();
        // Queued: aborting here would end the fetch while this timer is still in use.
        QMetaObject::invokeMethod(&reply, &QNetworkReply::abort, Qt::QueuedConnection);
    }

    QTimer m_connecting;
    QTimer m_idle;
    QString m_reason;
};

// Why a finished reply must not replace the target; no text when it may.
struct Rejection {
    FetchFailure kind = FetchFailure::None;
    QString text;
};

Rejection rejectionOf(const QNetworkReply& reply, const BodyReceiver& body, const Patience& patience,
                      bool wantsPicture) {
    if (!body.refusal().isEmpty()) {
        return {body.refusalKind(), body.refusal()};
    }
    if (!patience.reason().isEmpty()) {
        return {FetchFailure::Timeout, patience.reason()};
    }
    // An answer of the server, or a body that ended early, says more than the error it leads to.
    const int status = httpStatusOf(reply);
    if (status != 0 && (status < 200 || status > 299)) {
        return {FetchFailure::HttpStatus, QStringLiteral("HTTP status %1").arg(status)};
    }
    if (status != 0 && isCutShort(reply, body.bytes())) {
        return {FetchFailure::CutShort, QStringLiteral("body cut short after %1 bytes").arg(body.bytes())};
    }
    if (reply.error() != QNetworkReply::NoError) {
        return {FetchFailure::Other, reply.errorString()};
    }
    if (status == 0) {
        return {FetchFailure::Other, QStringLiteral("no HTTP status")};
    }
    if (const QByteArray coding = contentCodingOf(reply); !coding.isEmpty()) {
        return {FetchFailure::Other,
                QStringLiteral("the body came encoded as %1").arg(QString::fromLatin1(coding))};
    }
    if (wantsPicture && !isPicture(body.head())) {
        return {FetchFailure::NotAPicture, QStringLiteral("the body is not a picture")};
    }
    return {};
}

// The host did not take the request, or did not answer it in time: a failure of the host, not of
// the file.
bool isUnreachable(const QNetworkReply& reply, const Patience& patience) {
    if (httpStatusOf(reply) != 0) {
        return false;
    }
    return !patience.reason().isEmpty() || reply.error() == QNetworkReply::ConnectionRefusedError ||
           reply.error() == QNetworkReply::HostNotFoundError;
}

QByteArray originAddress(const QUrl& url) {
    return url.adjusted(QUrl::RemoveUserInfo).toEncoded();
}

// What the stored target says of itself when it came from this very address.
std::optional<FileOrigin> storedValidators(const QString& targetFile, const QUrl& url) {
    std::optional<FileOrigin> origin = readFileOrigin(targetFile);
    if (!origin || origin->url != originAddress(url) ||
        (origin->lastModified.isEmpty() && origin->etag.isEmpty())) {
        return std::nullopt;
    }
    return origin;
}

void askOnlyIfChanged(QNetworkRequest& request, const FileOrigin& stored) {
    if (!stored.lastModified.isEmpty()) {
        request.setRawHeader("If-Modified-Since", stored.lastModified);
    }
    if (!stored.etag.isEmpty()) {
        request.setRawHeader("If-None-Match", stored.etag);
    }
}

FileOrigin originOf(const QNetworkReply& reply, const QUrl& url) {
    return {originAddress(url), reply.rawHeader("Last-Modified"), reply.rawHeader("ETag")};
}

bool isNotModified(const QNetworkReply& reply, const BodyReceiver& body) {
    return body.refusal().isEmpty() && reply.error() == QNetworkReply::NoError && httpStatusOf(reply) == 304;
}

FetchResult failure(const QString& error) {
    FetchResult result{false, 0, error};
    result.failure = FetchFailure::Other;
    return result;
}

QString outcomeText(const FetchResult& result) {
    if (result.unchanged) {
        return QStringLiteral("unchanged");
    }
    return result.ok ? QStringLiteral("ok") : result.error;
}

} // namespace

QString describeFetch(const QUrl& url, const FetchResult& result) {
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(url.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo))
        .arg(result.httpStatus)
        .arg(result.bytes)
        .arg(result.milliseconds)
        .arg(outcomeText(result));
}

Downloader::Downloader(QObject* parent) : QObject(parent), m_manager(new QNetworkAccessManager(this)) {
    static std::once_flag systemProxy;
    std::call_once(systemProxy, [] { QNetworkProxyFactory::setUseSystemConfiguration(true); });
    m_manager->setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

// Running fetches end as failures and discard their temporary files. Their replies are aborted
// while the manager still exists and are then let go of, because each fetch learns of the end
// only from the event loop, after the manager is gone; the fetch itself deletes its reply.
Downloader::~Downloader() {
    shutDown();
}

void Downloader::shutDown() {
    m_shutDown = true;
    const QList<QNetworkReply*> running = m_manager->findChildren<QNetworkReply*>();
    for (QNetworkReply* reply : running) {
        reply->abort();
        reply->setParent(nullptr);
    }
}

QCoro::Task<FetchResult> Downloader::fetch(QUrl url, QString targetFile, Refresh refresh) {
    const QPointer<Downloader> self(this);
    const QDateTime started = QDateTime::currentDateTime();
    QElapsedTimer clock;
    clock.start();
    FetchResult result = co_await fetchOnce(url, std::move(targetFile), refresh);
    result.milliseconds = clock.elapsed();
    qCDebug(lcDownload).noquote() << describeFetch(url, result);
    if (self) {
        Q_EMIT self->fetchEnded({started, url, result});
    }
    co_return result;
}

// After the first suspension this coroutine touches only its own frame and the reply, never the
// Downloader, which may be going away.
QCoro::Task<FetchResult> Downloader::fetchOnce(QUrl url, QString targetFile, Refresh refresh) {
    if (!isWebAddress(url)) {
        co_return failure(QStringLiteral("not an http or https address"));
    }
    if (m_shutDown) {
        co_return failure(QStringLiteral("the program is ending"));
    }
    BodyReceiver body(targetFile);
    if (!body.open()) {
        co_return failure(body.errorString());
    }
    QNetworkRequest request(url);
    request.setRawHeader("Accept-Encoding", "identity");
    const std::optional<FileOrigin> stored =
        refresh == Refresh::IfChanged ? storedValidators(targetFile, url) : std::nullopt;
    if (stored) {
        askOnlyIfChanged(request, *stored);
    }
    QNetworkReply* reply = m_manager->get(request);
    reply->setReadBufferSize(ReadBufferSize);
    const Patience patience(*reply, m_limits);
    const QMetaObject::Connection announcing = connect(reply, &QNetworkReply::metaDataChanged, reply,
                                                       [&body, reply] { body.checkAnnouncedLength(*reply); });
    const QMetaObject::Connection streaming =
        connect(reply, &QNetworkReply::readyRead, reply, [&body, reply] { body.take(*reply); });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply, [&body, reply, limit = m_limits.deadline] {
        body.refuse(*reply, FetchFailure::Timeout,
                    QStringLiteral("not done within %1 ms").arg(limit.count()));
    });
    deadline.start(m_limits.deadline);

    co_await qCoro(reply).waitForFinished();
    body.take(*reply);
    disconnect(announcing);
    disconnect(streaming);
    reply->deleteLater();

    FetchResult result{false, httpStatusOf(*reply), {}, body.bytes(), 0};
    if (isUnreachable(*reply, patience)) {
        result.unreachable = true;
        const bool timedOut = !patience.reason().isEmpty();
        result.error = timedOut ? patience.reason() : reply->errorString();
        result.failure = timedOut ? FetchFailure::Timeout : FetchFailure::NoConnection;
    } else if (stored && isNotModified(*reply, body)) {
        result.unchanged = true;
    } else {
        const Rejection rejection = rejectionOf(*reply, body, patience, isPictureFile(targetFile));
        result.error = rejection.text;
        result.failure = rejection.kind;
        if (result.error.isEmpty()) {
            result.error = body.commit(refresh == Refresh::IfChanged ? std::optional(originOf(*reply, url))
                                                                     : std::nullopt);
            result.failure = result.error.isEmpty() ? FetchFailure::None : FetchFailure::Other;
        }
    }
    result.ok = result.error.isEmpty();
    if (!result.ok || result.unchanged) {
        body.discard();
    }
    co_return result;
}

QCoro::Task<bool> Downloader::downloadi(QString urrl, QString failinimi) {
    const FetchResult result = co_await fetch(QUrl(urrl, QUrl::TolerantMode), failinimi);
    co_return result.ok;
}

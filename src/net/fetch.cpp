#include "net/fetch.h"

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
            refuse(reply, QStringLiteral("a body of %1 bytes was announced, over the cap of %2 bytes")
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
            refuse(reply, QStringLiteral("the body is over the cap of %1 bytes").arg(m_cap));
            return;
        }
        m_head += chunk.left(LongestSignature - m_head.size());
        m_bytes += chunk.size();
        if (m_file.write(chunk) != chunk.size()) {
            refuse(reply, m_file.errorString());
        }
    }

    // The staged body takes the target's place; the reason when it could not. rename() replaces the
    // target's own entry in the folder, so a link there is replaced, never followed out of it.
    QString commit() {
        if (!m_file.commit()) {
            return m_file.errorString();
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
    QString errorString() const { return m_file.errorString(); }
    qint64 bytes() const { return m_bytes; }
    const QByteArray& head() const { return m_head; }

    // Ends the reply; the first reason given is the one kept.
    void refuse(QNetworkReply& reply, const QString& reason) {
        if (m_refusal.isEmpty()) {
            m_refusal = reason;
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
};

// Why a finished reply must not replace the target; empty when it may.
QString rejectionOf(const QNetworkReply& reply, const BodyReceiver& body, bool wantsPicture) {
    if (!body.refusal().isEmpty()) {
        return body.refusal();
    }
    if (reply.error() != QNetworkReply::NoError) {
        return reply.errorString();
    }
    const int status = httpStatusOf(reply);
    if (status < 200 || status > 299) {
        return QStringLiteral("HTTP status %1").arg(status);
    }
    if (const QByteArray coding = contentCodingOf(reply); !coding.isEmpty()) {
        return QStringLiteral("the body came encoded as %1").arg(QString::fromLatin1(coding));
    }
    if (isCutShort(reply, body.bytes())) {
        return QStringLiteral("body cut short after %1 bytes").arg(body.bytes());
    }
    if (wantsPicture && !isPicture(body.head())) {
        return QStringLiteral("the body is not a picture");
    }
    return {};
}

FetchResult failure(const QString& error) {
    return {false, 0, error, 0, 0};
}

FetchResult logged(const QUrl& url, FetchResult result, const QElapsedTimer& clock) {
    result.milliseconds = clock.elapsed();
    // The query is left out: the login request carries the password in it.
    qCDebug(lcDownload).noquote() << url.toDisplayString(QUrl::RemoveQuery | QUrl::RemoveUserInfo) << "status"
                                  << result.httpStatus << "bytes" << result.bytes << "ms"
                                  << result.milliseconds << (result.ok ? QStringLiteral("ok") : result.error);
    return result;
}

} // namespace

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

// After the first suspension this coroutine touches only its own frame and the reply, never the
// Downloader, which may be going away.
QCoro::Task<FetchResult> Downloader::fetch(QUrl url, QString targetFile) {
    QElapsedTimer clock;
    clock.start();
    if (!isWebAddress(url)) {
        co_return logged(url, failure(QStringLiteral("not an http or https address")), clock);
    }
    if (m_shutDown) {
        co_return logged(url, failure(QStringLiteral("the program is ending")), clock);
    }
    BodyReceiver body(targetFile);
    if (!body.open()) {
        co_return logged(url, failure(body.errorString()), clock);
    }
    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(m_limits.idle.count()));
    request.setRawHeader("Accept-Encoding", "identity");
    QNetworkReply* reply = m_manager->get(request);
    reply->setReadBufferSize(ReadBufferSize);
    const QMetaObject::Connection announcing = connect(reply, &QNetworkReply::metaDataChanged, reply,
                                                       [&body, reply] { body.checkAnnouncedLength(*reply); });
    const QMetaObject::Connection streaming =
        connect(reply, &QNetworkReply::readyRead, reply, [&body, reply] { body.take(*reply); });
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply, [&body, reply, limit = m_limits.deadline] {
        body.refuse(*reply, QStringLiteral("not done within %1 ms").arg(limit.count()));
    });
    deadline.start(m_limits.deadline);

    co_await qCoro(reply).waitForFinished();
    body.take(*reply);
    disconnect(announcing);
    disconnect(streaming);
    reply->deleteLater();

    FetchResult result{false, httpStatusOf(*reply), rejectionOf(*reply, body, isPictureFile(targetFile)),
                       body.bytes(), 0};
    if (result.error.isEmpty()) {
        result.error = body.commit();
    }
    result.ok = result.error.isEmpty();
    if (!result.ok) {
        body.discard();
    }
    co_return logged(url, result, clock);
}

QCoro::Task<bool> Downloader::downloadi(QString urrl, QString failinimi) {
    const FetchResult result = co_await fetch(QUrl(urrl, QUrl::TolerantMode), failinimi);
    co_return result.ok;
}

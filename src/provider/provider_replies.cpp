#include "provider/provider_replies.h"

#include <QFile>
#include <optional>

namespace {

constexpr qint64 FirstLineLimit = 64 * 1024;

// Nothing for a file that is missing or empty: it has no first line at all, while a reply that
// starts with a line break has an empty one.
std::optional<QByteArray> firstLine(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray start = file.read(FirstLineLimit);
    if (start.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype end = start.indexOf('\r');
    return end < 0 ? start : start.left(end);
}

std::optional<QDate> parseDay(const QString& text, const QLocale& locale) {
    QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid()) {
        date = locale.toDate(text, QLocale::ShortFormat);
    }
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}

// The text between the first "<href>" and the first "</href>" after it.
std::optional<QUrl> pictureAddress(const QString& line) {
    const QString open = QStringLiteral("<href>");
    const qsizetype start = line.indexOf(open) + open.size();
    const qsizetype end = line.indexOf(QStringLiteral("</href>"), start);
    if (end < 0) {
        return std::nullopt;
    }
    const QUrl url(line.mid(start, end - start).trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        return std::nullopt;
    }
    return url;
}

} // namespace

bool loginAccepted(const QString& replyFile, const QString& loginMarker) {
    const std::optional<QByteArray> line = firstLine(replyFile);
    if (!line) {
        return false;
    }
    return !QString::fromUtf8(*line).contains(loginMarker, Qt::CaseSensitive);
}

QVector<ForecastDay> parsePointForecast(const QByteArray& reply, const QLocale& locale) {
    const QString dateTag = QStringLiteral("<date>");
    QVector<ForecastDay> days;
    std::optional<QDate> armed;
    for (const QByteArray& raw : reply.split('\n')) {
        const QString line = QString::fromUtf8(raw);
        const qsizetype dateAt = line.indexOf(dateTag);
        if (dateAt >= 0) {
            armed = parseDay(line.mid(dateAt + dateTag.size(), 10), locale);
        }
        if (armed && line.contains(QStringLiteral("<href>"))) {
            if (const auto address = pictureAddress(line)) {
                days.append({*armed, *address});
            }
            armed.reset();
        }
    }
    return days;
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "provider/provider_replies.h"

#include "platform/locale_formats.h"
#include "platform/stored_files.h"

#include <optional>

namespace {

constexpr qint64 FirstLineLimit = 64 * 1024;

// Nothing for a file that is missing or empty (or no regular file, or larger than any reply): it
// has no first line at all, while a reply that starts with a line break has an empty one.
std::optional<QByteArray> firstLine(const QString& path) {
    const Expected<QByteArray> reply = readRegularFile(path, LargestAnswerFile);
    const QByteArray start = reply ? reply->left(FirstLineLimit) : QByteArray();
    if (start.isEmpty()) {
        return std::nullopt;
    }
    const qsizetype end = start.indexOf('\r');
    return end < 0 ? start : start.left(end);
}

// A short date with a two-digit year is shorter than the ten characters; the rest is the end tag.
std::optional<QDate> parseDay(const QString& tenCharacters, const LocaleFormats& formats) {
    const QString text = tenCharacters.section(QLatin1Char('<'), 0, 0).trimmed();
    QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid()) {
        date = formats.readShortDate(text);
    }
    // Picture names begin with the day's eight digits.
    if (!date.isValid() || date.year() < 1000 || date.year() > 9999) {
        return std::nullopt;
    }
    return date;
}

// The text between the first "<href>" and the first "</href>" after it. A blank inside it is sent
// percent-encoded.
std::optional<QUrl> pictureAddress(const QString& line) {
    const QString open = QStringLiteral("<href>");
    const qsizetype start = line.indexOf(open) + open.size();
    const qsizetype end = line.indexOf(QStringLiteral("</href>"), start);
    if (end < 0) {
        return std::nullopt;
    }
    const QUrl url(line.mid(start, end - start).trimmed(), QUrl::TolerantMode);
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

bool isPointForecastReply(const QByteArray& reply) {
    return reply.contains("<date>");
}

QVector<ForecastDay> parsePointForecast(const QByteArray& reply, const LocaleFormats& formats) {
    const QString dateTag = QStringLiteral("<date>");
    QVector<ForecastDay> days;
    std::optional<QDate> armed;
    for (const QByteArray& raw : reply.split('\n')) {
        if (days.size() == MostForecastDays) {
            break;
        }
        const QString line = QString::fromUtf8(raw);
        const qsizetype dateAt = line.indexOf(dateTag);
        if (dateAt >= 0) {
            armed = parseDay(line.mid(dateAt + dateTag.size(), 10), formats);
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

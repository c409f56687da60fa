// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/freshness.h"

#include <QDateTime>
#include <QList>
#include <algorithm>

namespace {

constexpr qint64 Day = 24 * 3600;
constexpr qint64 MostHeuristicLifetime = 15 * 60;
// A record is a few short header values; anything longer was not written by us.
constexpr qsizetype LongestRecord = 4096;

struct Directives {
    bool askEveryTime = false;
    std::optional<qint64> maxAge;
};

// Only the directives that decide a private cache's freshness; s-maxage is for shared caches.
Directives directivesOf(const QByteArray& cacheControl) {
    Directives found;
    for (const QByteArray& part : cacheControl.split(',')) {
        const QByteArray directive = part.trimmed().toLower();
        if (directive == "no-store" || directive == "no-cache" || directive.startsWith("no-cache=")) {
            found.askEveryTime = true;
        } else if (directive.startsWith("max-age=")) {
            bool number = false;
            const qint64 seconds = directive.mid(8).replace('"', QByteArray()).toLongLong(&number);
            // A max-age the cache cannot read makes the response stale (RFC 9111, 5.2.2.1).
            found.maxAge = number && seconds > 0 ? seconds : 0;
        }
    }
    if (found.maxAge == 0) {
        found.askEveryTime = true;
    }
    return found;
}

// An HTTP date in any of the three forms RFC 9110 names; nothing for anything else. The day's name
// is left out, since Qt checks it against the date: the old form's two-digit year reads as the
// 1900s, and is moved to this century when that puts it before 1970.
std::optional<qint64> httpDate(const QByteArray& value) {
    const QString text = QString::fromLatin1(value).simplified().section(QLatin1Char(' '), 1);
    for (const QString& form :
         {QStringLiteral("dd MMM yyyy HH:mm:ss 'GMT'"), QStringLiteral("dd-MMM-yy HH:mm:ss 'GMT'"),
          QStringLiteral("MMM d HH:mm:ss yyyy")}) {
        QDateTime moment = QLocale::c().toDateTime(text, form);
        if (moment.isValid()) {
            moment.setTimeSpec(Qt::UTC);
            if (moment.date().year() < 1970) {
                moment = moment.addYears(100);
            }
            return moment.toSecsSinceEpoch();
        }
    }
    return std::nullopt;
}

// How long the reply stays fresh from its receipt; nothing when it never is.
std::optional<qint64> lifetimeOf(const FreshnessRecord& record, bool fixedOncePublished) {
    const Directives directives = directivesOf(record.cacheControl);
    if (directives.askEveryTime) {
        return std::nullopt;
    }
    if (directives.maxAge) {
        return directives.maxAge;
    }
    const std::optional<qint64> date = httpDate(record.date);
    if (!record.expires.isEmpty()) {
        const std::optional<qint64> expires = httpDate(record.expires);
        if (!expires || !date) {
            return std::nullopt;
        }
        return *expires - *date;
    }
    if (fixedOncePublished) {
        return Day;
    }
    const std::optional<qint64> lastModified = httpDate(record.lastModified);
    if (lastModified && date && *date > *lastModified) {
        return std::min((*date - *lastModified) / 10, MostHeuristicLifetime);
    }
    return std::nullopt;
}

std::optional<qint64> ageAtReceipt(const QByteArray& age) {
    if (age.isEmpty()) {
        return 0;
    }
    bool number = false;
    const qint64 seconds = age.trimmed().toLongLong(&number);
    return number && seconds >= 0 ? std::optional(seconds) : std::nullopt;
}

const QByteArray ReceivedKey = "received";
const QList<std::pair<QByteArray, QByteArray FreshnessRecord::*>> HeaderKeys{
    {"cache-control", &FreshnessRecord::cacheControl},
    {"expires", &FreshnessRecord::expires},
    {"date", &FreshnessRecord::date},
    {"age", &FreshnessRecord::age}};

} // namespace

bool isFresh(const FreshnessRecord& record, qint64 now, bool fixedOncePublished) {
    const std::optional<qint64> lifetime = lifetimeOf(record, fixedOncePublished);
    const std::optional<qint64> age = ageAtReceipt(record.age);
    if (!lifetime || !age || record.receivedAt <= 0 || now < record.receivedAt) {
        return false;
    }
    return *lifetime > *age + (now - record.receivedAt);
}

QByteArray encodeFreshness(const FreshnessRecord& record) {
    QByteArray text = ReceivedKey + ':' + QByteArray::number(record.receivedAt);
    for (const auto& [key, field] : HeaderKeys) {
        if (!(record.*field).isEmpty()) {
            // A header value holds no line break: Qt folds continuation lines into one.
            text += '\n' + key + ':' + QByteArray(record.*field).replace('\n', ' ');
        }
    }
    return text;
}

std::optional<FreshnessRecord> decodeFreshness(const QByteArray& text) {
    if (text.size() > LongestRecord) {
        return std::nullopt;
    }
    FreshnessRecord record;
    bool received = false;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        const QByteArray key = line.left(colon);
        const QByteArray value = line.mid(colon + 1);
        if (colon < 0) {
            return std::nullopt;
        }
        if (key == ReceivedKey) {
            record.receivedAt = value.toLongLong(&received);
            continue;
        }
        const auto header = std::find_if(HeaderKeys.begin(), HeaderKeys.end(),
                                         [&key](const auto& known) { return known.first == key; });
        if (header == HeaderKeys.end()) {
            return std::nullopt;
        }
        record.*(header->second) = value;
    }
    return received ? std::optional(record) : std::nullopt;
}

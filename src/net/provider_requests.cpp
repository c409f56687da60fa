// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/provider_requests.h"

#include <QRegularExpression>

namespace {

QByteArray atLeastTwoDigits(int value) {
    return QByteArray::number(value).rightJustified(2, '0');
}

// As many digits as the number needs and a '.' for the decimal point, never the locale's comma.
QByteArray coordinate(double degrees) {
    return QByteArray::number(degrees, 'g', 15);
}

} // namespace

QUrl appendToBase(const QUrl& base, const QByteArray& encodedPathAndQuery) {
    if (base.isEmpty()) {
        return {};
    }
    return QUrl::fromEncoded(base.adjusted(QUrl::StripTrailingSlash).toEncoded() + encodedPathAndQuery,
                             QUrl::StrictMode);
}

QUrl areaChartUrl(const QUrl& providerBase, const QString& chartCode, const QDate& runDate, int runHour,
                  int step) {
    const QByteArray name = QUrl::toPercentEncoding(chartCode) + '.' +
                            atLeastTwoDigits(runDate.year() - 2000) + atLeastTwoDigits(runDate.month()) +
                            atLeastTwoDigits(runDate.day()) + atLeastTwoDigits(runHour) + '.' +
                            atLeastTwoDigits(step) + ".gif";
    return appendToBase(providerBase, "/m/EU0/maps/BA/BA." + name);
}

std::optional<AreaChartRun> areaChartRunOf(const QUrl& url) {
    static const QRegularExpression shape(
        QStringLiteral("/m/EU0/maps/BA/BA\\.([^./]+)\\.(\\d{2})(\\d{2})(\\d{2})(\\d{2})\\.(\\d+)\\.gif$"));
    const QRegularExpressionMatch match = shape.match(url.path(QUrl::FullyEncoded));
    if (!match.hasMatch() || url.hasQuery()) {
        return std::nullopt;
    }
    const auto number = [&match](int group) {
        return match.captured(group).toInt();
    };
    const QDate runDate(2000 + number(2), number(3), number(4));
    if (!runDate.isValid()) {
        return std::nullopt;
    }
    return AreaChartRun{QUrl::fromPercentEncoding(match.captured(1).toLatin1()), runDate, number(5),
                        number(6)};
}

QUrl loginUrl(const QUrl& providerBase, const QString& email, const QString& password) {
    return appendToBase(providerBase, "/cg/login/?email=" + QUrl::toPercentEncoding(email) + "&th_password=" +
                                          QUrl::toPercentEncoding(password) + "&lang=en&login=submit");
}

QUrl pointForecastUrl(const QUrl& providerBase, double lon, double lat, int elev) {
    return appendToBase(providerBase, "/cg/mgx?lang=en&lon=" + coordinate(lon) + "&lat=" + coordinate(lat) +
                                          "&elev=" + QByteArray::number(elev) +
                                          "&stack=0&dayim=0&tunits=C&expl=0&windunits=M&tzoff=2");
}

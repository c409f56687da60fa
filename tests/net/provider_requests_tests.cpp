// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/provider_requests.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

const QUrl Provider(QStringLiteral("http://provider.test:8080"));

QString urlText(const QUrl& url) {
    return QString::fromLatin1(url.toEncoded());
}

// The user's locale writes numbers with a decimal comma while the test runs.
class CommaLocale final {
public:
    CommaLocale() { QLocale::setDefault(QLocale(QLocale::Estonian, QLocale::Estonia)); }
    ~CommaLocale() { QLocale::setDefault(m_previous); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

private:
    QLocale m_previous;
};

} // namespace

TEST(PointForecastRequest, CoordinatesWithAPointWhateverTheLocaleWholeOrNegative) {
    const CommaLocale comma;
    EXPECT_EQ(urlText(pointForecastUrl(Provider, 24.5, 59.4, 12)),
              QStringLiteral("http://provider.test:8080/cg/mgx?lang=en&lon=24.5&lat=59.4&elev=12"
                             "&stack=0&dayim=0&tunits=C&expl=0&windunits=M&tzoff=2"));
    const QString text = urlText(pointForecastUrl(Provider, 26.729, 58.3776, 67));
    EXPECT_TRUE(text.contains(QStringLiteral("lon=26.729&lat=58.3776&elev=67&"))) << text.toStdString();
    const QString whole = urlText(pointForecastUrl(Provider, 24, -3.25, -2));
    EXPECT_TRUE(whole.contains(QStringLiteral("lon=24&lat=-3.25&elev=-2&"))) << whole.toStdString();
}

TEST(AreaChartRequest, UnconfiguredProviderGivesNoAddress) {
    EXPECT_TRUE(areaChartUrl(QUrl(), QStringLiteral("w"), QDate(2007, 4, 9), 12, 5).isEmpty());
    EXPECT_TRUE(loginUrl(QUrl(), QStringLiteral("a"), QStringLiteral("b")).isEmpty());
}

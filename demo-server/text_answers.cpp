// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "text_answers.h"

#include <QStringList>

namespace demo {

namespace {

constexpr int forecastDays = 7;

QByteArray crlfLines(const QStringList& lines) {
    QByteArray text;
    for (const QString& line : lines) {
        text += line.toUtf8() + "\r\n";
    }
    return text;
}

QString versionText(int version) {
    return QStringLiteral("%1.%2.%3").arg(version / 1000000).arg(version / 1000 % 1000).arg(version % 1000);
}

} // namespace

QByteArray loginPage(bool accepted, const QString& marker, const QString& user) {
    if (accepted) {
        return crlfLines(
            {QStringLiteral("<html><head><title>Quellan - welcome</title></head>"),
             QStringLiteral("<body><p>Logged in as %1.</p></body></html>").arg(user.toHtmlEscaped())});
    }
    return crlfLines(
        {QStringLiteral("<html><head><title>%1</title></head>").arg(marker),
         QStringLiteral("<body><form action=\"/cg/login/\" method=\"get\">"),
         QStringLiteral("<p>E-mail <input name=\"email\"> Password <input name=\"th_password\" "
                        "type=\"password\"></p>"),
         QStringLiteral("<input type=\"submit\" name=\"login\" value=\"submit\"></form></body></html>")});
}

QString meteogramPath(const QString& lon, const QString& lat, const QDate& day) {
    return QStringLiteral("/cg/pics/mgx/%1_%2_%3.gif")
        .arg(lon, lat, day.toString(QStringLiteral("yyyyMMdd")));
}

QByteArray pointForecast(const QDate& firstDay, const QString& lon, const QString& lat, const QUrl& base) {
    QStringList lines{QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"),
                      QStringLiteral("<meteogram lon=\"%1\" lat=\"%2\">").arg(lon, lat)};
    for (int i = 0; i < forecastDays; ++i) {
        const QDate day = firstDay.addDays(i);
        lines << QStringLiteral("<day>") << QStringLiteral("<date>%1</date>").arg(day.toString(Qt::ISODate))
              << QStringLiteral("<href>%1%2</href>").arg(base.toString(), meteogramPath(lon, lat, day))
              << QStringLiteral("</day>");
    }
    lines << QStringLiteral("</meteogram>");
    return lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

QByteArray updateAnswer(int clientVersion, int latestVersion) {
    if (clientVersion >= latestVersion) {
        return crlfLines({QStringLiteral("Kasutuses on uusim versioon")});
    }
    return crlfLines({QStringLiteral("UUENDUSED peale teie programmi versiooni"), QString(),
                      QStringLiteral("Versioon %1").arg(versionText(latestVersion)),
                      QStringLiteral("- Laineinfo aken laeb kaardid kiiremini"),
                      QStringLiteral("- Spotide prognoosid ka Liepaja kohta"),
                      QStringLiteral("- Parandatud aja naitamine ajavahetuse paeval")});
}

QByteArray updaterProgram() {
    return QByteArrayLiteral("#!/bin/sh\necho Brisel demo updater\n");
}

QByteArray supportersList() {
    return crlfLines({QStringLiteral("Mari Maasikas"), QStringLiteral("Jaan Tamm"),
                      QStringLiteral("Andris Berzins"), QStringLiteral("Liis Kask"),
                      QStringLiteral("Purjeklubi Kalev")});
}

QByteArray portalPage() {
    return QByteArrayLiteral("<html><body>Marina Wi-Fi: please log in</body></html>");
}

} // namespace demo

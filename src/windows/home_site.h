// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QUrl>

// What the side windows ask of the program's home site, and the files of the program folder they
// keep its answers in.
namespace home_site {

inline const QString UpdateAnswerFile = QStringLiteral("verinfo.txt");
inline const QString UpdaterFile = QStringLiteral("uuendus.exe");
inline const QString SupportersFile = QStringLiteral("toetajad.txt");

QUrl updateCheckUrl(const QUrl& home, int versionNumber);
QUrl updaterUrl(const QUrl& home);
QUrl updaterSignatureUrl(const QUrl& home);
QUrl supportersUrl(const QUrl& home);

} // namespace home_site

// What the about box shows in its list: the fetched list, or the fixed text (in every language)
// when the fetch failed.
inline const QString SupportersFailedText =
    QStringLiteral("Toetajate nimekirja laadimine Internetist ebaõnnestus");
QString supportersText(bool fetched, const QString& listFile);

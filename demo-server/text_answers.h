// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QUrl>

namespace demo {

// The provider's page after a login: its login page again, titled with the marker, when the
// pair was refused; a welcome page whose first line lacks the marker when it was accepted.
QByteArray loginPage(bool accepted, const QString& marker, const QString& user);

// The point-forecast reply: seven days from the given day, each a date line followed by the
// address of that day's meteogram.
QByteArray pointForecast(const QDate& firstDay, const QString& lon, const QString& lat, const QUrl& base);
// Where the forecast's meteogram of one day lives, relative to the provider's base address.
QString meteogramPath(const QString& lon, const QString& lat, const QDate& day);

// The home site's answer to a program of the given version.
QByteArray updateAnswer(int clientVersion, int latestVersion);
QByteArray updaterProgram();
QByteArray supportersList();

// What a captive portal sends in place of any page until the user has logged in to the network.
QByteArray portalPage();

} // namespace demo

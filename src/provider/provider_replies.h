// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QUrl>
#include <QVector>

class LocaleFormats;

// Judging what the provider answers: the login reply and the point-forecast reply.

// A login is refused when the first line of the reply (up to its first carriage return; a line
// feed alone does not end it) holds the provider's login-page title, searched case-sensitively.
// A reply that is empty or cannot be read is a refusal too: nothing in it says the account was
// taken.
bool loginAccepted(const QString& replyFile, const QString& loginMarker);

// Whether a point-forecast reply names any day at all. One without a "<date>" is some other page
// answered at the reply's address (a captive portal's login, an error page) and must not stand
// in for the reply before it.
bool isPointForecastReply(const QByteArray& reply);

// One day of a point forecast: the day and the address of its meteogram.
struct ForecastDay {
    QDate date;
    QUrl picture;
};

// The days a point-forecast reply names. Lines end at line feeds; each "<date>" arms the next
// "<href>" (the same line counts), later "<href>"s before another "<date>" are passed over. The
// ten characters after "<date>", up to the tag that ends the date, are read as a date: ISO
// year-month-day, or the system's short format with a two- or four-digit year. The address is
// taken as it stands, a blank in it included. An entry with a date that is not one or whose year
// has not four digits, an "<href>" without "</href>", or an address that is not http or https is
// left out, and the others stand. At most the first two weeks of days are taken.
inline constexpr int MostForecastDays = 14;
QVector<ForecastDay> parsePointForecast(const QByteArray& reply, const LocaleFormats& formats);

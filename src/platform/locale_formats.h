// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

// How this system writes a date and a time in short: the window caption, the sailing-map label,
// the download-time labels and the provider's day dates follow it. On Linux that is the C
// library's LC_TIME locale, the one `date +%x` writes with (Qt's own locale table disagrees with
// it, 07.12.26 against 07.12.2026); on Windows the user's regional settings. Tests give their own,
// so that they read the same whatever the machine's LANG.
class LocaleFormats final {
public:
    // Qt date and time formats ("dd.MM.yyyy", "HH:mm"); month and day names and AM/PM come from
    // `names`.
    LocaleFormats(QString shortDate, QString shortTime, QLocale names = QLocale::c());

    static LocaleFormats system();

    QString shortDate(const QDate& date) const;
    QString shortTime(const QTime& time) const;
    // The date, a blank and the time.
    QString shortDateTime(const QDateTime& moment) const;
    // A date in the short format, its year written with two digits (this century) or four;
    // an invalid date when the text is neither.
    QDate readShortDate(const QString& text) const;

    const QString& shortDateFormat() const { return m_shortDate; }
    const QString& shortTimeFormat() const { return m_shortTime; }

private:
    QString m_shortDate;
    QString m_shortTime;
    QLocale m_names;
};

// A C library (strftime) format as a Qt format: "%d.%m.%Y" is "dd.MM.yyyy", "%r" "hh:mm:ss AP".
// Text between the conversions is kept as it stands.
QString qtFormatOfStrftime(const QString& format);
// The same time format without its seconds: "%H:%M:%S" gives "%H:%M".
QString withoutSeconds(const QString& strftimeFormat);

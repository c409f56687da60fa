// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/locale_formats.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

#ifndef Q_OS_WIN
#include <langinfo.h>
#include <locale.h>
#endif

namespace {

// Qt would read letters of the text between conversions as fields of its own, so a text with
// letters goes between single quotes; a quote itself is written twice, inside quotes or out.
QString quotedLiteral(const QString& text) {
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("''"));
    const bool hasLetters = std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
    return hasLetters ? QLatin1Char('\'') + escaped + QLatin1Char('\'') : escaped;
}

// The conversions that stand for several others.
QString expansionOf(QChar conversion) {
    switch (conversion.unicode()) {
    case 'D':
        return QStringLiteral("%m/%d/%y");
    case 'F':
        return QStringLiteral("%Y-%m-%d");
    case 'R':
        return QStringLiteral("%H:%M");
    case 'T':
        return QStringLiteral("%H:%M:%S");
    case 'r':
        return QStringLiteral("%I:%M:%S %p");
    default:
        return {};
    }
}

// One conversion as a Qt field; a conversion that a short date or time has no use for (week
// numbers, time zones) is left out.
QString qtFieldOf(QChar conversion) {
    static const QHash<QChar, QString> fields = {
        {u'a', QStringLiteral("ddd")},  {u'A', QStringLiteral("dddd")}, {u'b', QStringLiteral("MMM")},
        {u'h', QStringLiteral("MMM")},  {u'B', QStringLiteral("MMMM")}, {u'd', QStringLiteral("dd")},
        {u'e', QStringLiteral("d")},    {u'm', QStringLiteral("MM")},   {u'y', QStringLiteral("yy")},
        {u'Y', QStringLiteral("yyyy")}, {u'H', QStringLiteral("HH")},   {u'k', QStringLiteral("H")},
        {u'I', QStringLiteral("hh")},   {u'l', QStringLiteral("h")},    {u'M', QStringLiteral("mm")},
        {u'S', QStringLiteral("ss")},   {u'p', QStringLiteral("AP")},   {u'P', QStringLiteral("ap")}};
    return fields.value(conversion);
}

bool isFlagOrModifier(QChar c) {
    return QStringLiteral("-_0^#EO").contains(c);
}

#ifndef Q_OS_WIN
// The LC_TIME locale the environment names; where that one is not installed, the C locale, as
// the C library's own programs fall back to it.
class TimeLocale final {
public:
    TimeLocale() : m_locale(newlocale(LC_TIME_MASK, "", locale_t(nullptr))) {
        if (m_locale == locale_t(nullptr)) {
            m_locale = newlocale(LC_TIME_MASK, "C", locale_t(nullptr));
        }
    }
    ~TimeLocale() { freelocale(m_locale); }
    TimeLocale(const TimeLocale&) = delete;
    TimeLocale& operator=(const TimeLocale&) = delete;

    QString item(nl_item which) const { return QString::fromUtf8(nl_langinfo_l(which, m_locale)); }

private:
    locale_t m_locale;
};
#endif

} // namespace

LocaleFormats::LocaleFormats(QString shortDate, QString shortTime, QLocale names)
    : m_shortDate(std::move(shortDate)), m_shortTime(std::move(shortTime)), m_names(std::move(names)) {}

#ifdef Q_OS_WIN
LocaleFormats LocaleFormats::system() {
    const QLocale locale = QLocale::system();
    return {locale.dateFormat(QLocale::ShortFormat), locale.timeFormat(QLocale::ShortFormat), locale};
}
#else
LocaleFormats LocaleFormats::system() {
    const TimeLocale time;
    return {qtFormatOfStrftime(time.item(D_FMT)), qtFormatOfStrftime(withoutSeconds(time.item(T_FMT))),
            QLocale::system()};
}
#endif

QString LocaleFormats::shortDate(const QDate& date) const {
    return m_names.toString(date, m_shortDate);
}

QString LocaleFormats::shortTime(const QTime& time) const {
    return m_names.toString(time, m_shortTime);
}

QString LocaleFormats::shortDateTime(const QDateTime& moment) const {
    return shortDate(moment.date()) + QLatin1Char(' ') + shortTime(moment.time());
}

// Qt reads a two-digit year as one of the 1900s; the dates read here are of this century. The
// two-digit form is tried first, because Qt also reads "26" as the year 26 where four digits are
// asked for.
QDate LocaleFormats::readShortDate(const QString& text) const {
    QString twoDigitYear = m_shortDate;
    twoDigitYear.replace(QStringLiteral("yyyy"), QStringLiteral("yy"));
    QString fourDigitYear = twoDigitYear;
    fourDigitYear.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    if (twoDigitYear.contains(QStringLiteral("yy"))) {
        const QDate date = m_names.toDate(text, twoDigitYear);
        if (date.isValid()) {
            return date.addYears(100);
        }
    }
    return m_names.toDate(text, fourDigitYear);
}

QString qtFormatOfStrftime(const QString& format) {
    QString qt;
    QString literal;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            literal += format[i];
            continue;
        }
        ++i;
        while (i + 1 < format.size() && isFlagOrModifier(format[i])) {
            ++i;
        }
        const QChar conversion = format[i];
        if (conversion == u'%') {
            literal += conversion;
            continue;
        }
        if (conversion == u'n' || conversion == u't') {
            literal += QLatin1Char(' ');
            continue;
        }
        qt += quotedLiteral(literal);
        literal.clear();
        const QString expansion = expansionOf(conversion);
        qt += expansion.isEmpty() ? qtFieldOf(conversion) : qtFormatOfStrftime(expansion);
    }
    return qt + quotedLiteral(literal);
}

QString withoutSeconds(const QString& strftimeFormat) {
    QString format = strftimeFormat;
    format.replace(QStringLiteral("%T"), expansionOf(u'T')).replace(QStringLiteral("%r"), expansionOf(u'r'));
    static const QRegularExpression seconds(QStringLiteral("[:.\\s]?%[EO]?S"));
    return format.remove(seconds);
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/display_texts.h"

#include "net/chart_names.h"
#include "platform/locale_formats.h"
#include "settings/interface_texts.h"

#include <cmath>

namespace viewer {
QString dayLabelText(const InterfaceTexts& texts, const QDate& date) {
    return texts.npaev(date) + QLatin1Char(' ') + twoDigits(date.day()) + QLatin1Char('.') +
           twoDigits(date.month());
}

QString momentText(const InterfaceTexts& texts, const QDate& today, int sliderHour) {
    const SliderMoment moment = sliderMoment(today, sliderHour);
    return dayLabelText(texts, moment.date) + QLatin1Char(' ') + twoDigits(moment.hour) +
           QStringLiteral(":00");
}

QString pictureOfMomentName(const InterfaceTexts& texts, const char* kindKey, const QDate& date, int hour) {
    return texts.keeltekst(QString::fromLatin1(kindKey)) + QStringLiteral(", ") +
           momentText(texts, date, hour);
}

QString meteogramName(const InterfaceTexts& texts, const QString& spotName, const QDate& date) {
    return texts.keeltekst(QStringLiteral("accmeteogram"), {spotName, dayLabelText(texts, date)});
}

QString periodText(const InterfaceTexts& texts, const QDate& today, int start, int end) {
    return momentText(texts, today, start) + QStringLiteral(" - ") + momentText(texts, today, end);
}

QString windowCaption(const LocaleFormats& formats, const QDate& today, int sliderHour) {
    const SliderMoment moment = sliderMoment(today, sliderHour);
    const QString signBlank = QStringLiteral(" ");
    return QStringLiteral("Brisel ") + formats.shortDate(moment.date) + QLatin1Char(' ') + signBlank +
           QString::number(moment.hour) + QStringLiteral(":00");
}

int startSliderHour(const QTime& now) {
    const double hours = now.hour() + now.minute() / 60.0;
    return static_cast<int>(std::nearbyint(hours));
}

QString downloadTimeText(const InterfaceTexts& texts, const LocaleFormats& formats,
                         const QDateTime& modified) {
    return texts.keeltekst(QStringLiteral("Dltime")) + QLatin1Char(' ') + formats.shortDateTime(modified);
}

} // namespace viewer

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

class InterfaceTexts;
class LocaleFormats;

// The texts the viewer writes for slider hours: counted from 00:00 of today, over seven days.
namespace viewer {

// "Tue 10.04": the weekday in the interface language, the day and the month.
QString dayLabelText(const InterfaceTexts& texts, const QDate& date);
// "Tue 10.04 14:00": the moment of a slider hour.
QString momentText(const InterfaceTexts& texts, const QDate& today, int sliderHour);
// The marked period from start to end: the two moments joined by " - ".
QString periodText(const InterfaceTexts& texts, const QDate& today, int start, int end);
// "Brisel 11.04.2007  9:00": the date in the system's short format and the hour with the blank
// that stands for its sign.
QString windowCaption(const LocaleFormats& formats, const QDate& today, int sliderHour);
// The slider hour at start-up: the current hour and minutes rounded to whole hours, a half to
// the even neighbour, so 10:30 gives 10, 11:30 gives 12 and 23:30 gives 24.
int startSliderHour(const QTime& now);
// What a picture of a moment is called for assistive tools: "Wind chart, Tue 10.04 14:00" from
// the lang.ini key of its kind.
QString pictureOfMomentName(const InterfaceTexts& texts, const char* kindKey, const QDate& date, int hour);
// "Pärnu, meteogram of Tue 10.04".
QString meteogramName(const InterfaceTexts& texts, const QString& spotName, const QDate& date);
// "Laetud 10.04.2007 08:07": when a shown file was downloaded, in the interface language and the
// system's short formats.
QString downloadTimeText(const InterfaceTexts& texts, const LocaleFormats& formats,
                         const QDateTime& modified);

} // namespace viewer

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>

// Every chart is found again only by rebuilding its name from the moment shown, so every name and
// address of the chart folder is made here and nowhere else. Nothing here reads the system clock:
// "today" always comes from the caller's clock.

// Integer division rounded towards minus infinity, so that hour -2 lies in yesterday.
int floorDiv(int value, int divisor);

// A moment counted in whole hours from 00:00 of today: its calendar date and its hour of day.
struct SliderMoment {
    QDate date;
    int hour = 0;
};
SliderMoment sliderMoment(const QDate& today, int hour);

// At least two digits, with a leading zero: "07", "14", "100".
QString twoDigits(int value);

// YYYYMMDD, the leading eight characters of every dated chart name.
QString dateStamp(const QDate& date);

// A name inside the chart folder turned into a full path; the folder may or may not end in a
// separator.
QString chartPath(const QString& chartFolder, const QString& fileName);

// The provider's clock, which names its charts and model runs, runs this many hours behind the
// slider's: the chart of slider hour p is the one the provider names for hour p - 2.
inline constexpr int ProviderClockLag = 2;
constexpr int providerHour(int sliderHour) {
    return sliderHour - ProviderClockLag;
}

// Provider charts. `taht` is the chart code, one of ProviderChartCodes; `number` is not part of
// the name, so every run choice stores into the same file.
inline const QStringList ProviderChartCodes{QStringLiteral("w"), QStringLiteral("cc"), QStringLiteral("t10"),
                                            QStringLiteral("pc")};
QString halofail(const QString& chartFolder, const QDate& kp, int kell, int number, const QString& taht);
// The address of a provider chart for run choice `number` (0 and 1: today's 00 run, 2: yesterday's
// 12 run, 3: the 12 run of the day before); an empty address for any other choice.
QUrl halourl(const QUrl& providerBase, const QDate& today, const QDate& kp, int kell, int number,
             const QString& taht);

// One sailing-site map: the site stamps its maps three hours behind the slot they are valid for.
struct SailingMap {
    QDate date;        // the date in the file name
    int hour = 0;      // the hour in the file name
    QDate validDate;   // the slot the map is valid for ...
    int validHour = 0; // ... its hour, the slider hour rounded down to a multiple of three
    QString fileName;
    QUrl url;
};
inline const QString MainlandMapCode = QStringLiteral("0003");
inline const QString IslandsMapCode = QStringLiteral("0016");
SailingMap sailingMap(const QUrl& marevoBase, const QDate& today, int sliderHour, const QString& mapCode);

// Point forecasts: the provider's reply for a spot, and the meteogram of one day of it.
QString spotReplyFile(const QString& spotName);
QString spotPictureFile(const QDate& date, const QString& spotName);
// Whether a spot of that name would store its pictures under the name of a provider chart or a
// sailing map (a spot "HALO12" under the wind chart of 12:00), compared without case as Windows
// compares file names.
bool spotPicturesTakeChartNames(const QString& spotName);

// Wave maps 1..18 (wave03.gif .. wave54.gif); they carry no date and are overwritten each time.
inline constexpr int WaveMapCount = 18;
QString waveMapFile(int index);
QUrl waveMapUrl(const QUrl& waveBase, int index);

// The provider's answer to a login request.
QString loginAnswerFile();

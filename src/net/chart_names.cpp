// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/chart_names.h"

#include "net/provider_requests.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The word a chart family adds to its file name; the wind chart, and any unknown code, adds none.
QString chartWord(const QString& taht) {
    if (taht == QLatin1String("cc")) {
        return QStringLiteral("pilv");
    }
    if (taht == QLatin1String("t10")) {
        return QStringLiteral("temp");
    }
    if (taht == QLatin1String("pc")) {
        return QStringLiteral("sade");
    }
    return {};
}

struct ModelRun {
    QDate date;
    int hour = 0;
    int step = 0;
};

// The 12 o'clock run `daysBack` days before today, and how far the chart lies from it.
ModelRun noonRun(const QDate& today, int daysBack, const QDate& kp, int kell) {
    const QDate runDate = today.addDays(-daysBack);
    return {.date = runDate, .hour = 12, .step = kell + 24 * static_cast<int>(runDate.daysTo(kp)) - 12};
}

// Today's 00 run; a chart not after it (step below 1) is taken from yesterday's 12 run instead.
ModelRun midnightRun(const QDate& today, const QDate& kp, int kell) {
    const int step = kell + 24 * static_cast<int>(today.daysTo(kp));
    return step < 1 ? noonRun(today, 1, kp, kell) : ModelRun{today, 0, step};
}

} // namespace

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

int floorDiv(int value, int divisor) {
    const int quotient = value / divisor;
    const bool roundedUp = (value % divisor != 0) && ((value < 0) != (divisor < 0));
    return roundedUp ? quotient - 1 : quotient;
}

SliderMoment sliderMoment(const QDate& today, int hour) {
    const int days = floorDiv(hour, 24);
    return {.date = today.addDays(days), .hour = hour - 24 * days};
}

QString dateStamp(const QDate& date) {
    return QString::number(date.year()) + twoDigits(date.month()) + twoDigits(date.day());
}

QString chartPath(const QString& chartFolder, const QString& fileName) {
    return QDir(chartFolder).filePath(fileName);
}

QString halofail(const QString& chartFolder, const QDate& kp, int kell, int /*number*/, const QString& taht) {
    return chartPath(chartFolder, dateStamp(kp) + QStringLiteral("HALO") + chartWord(taht) + twoDigits(kell) +
                                      QStringLiteral(".gif"));
}

QUrl halourl(const QUrl& providerBase, const QDate& today, const QDate& kp, int kell, int number,
             const QString& taht) {
    ModelRun run;
    switch (number) {
    case 0:
    case 1:
        run = midnightRun(today, kp, kell);
        break;
    case 2:
        run = noonRun(today, 1, kp, kell);
        break;
    case 3:
        run = noonRun(today, 2, kp, kell);
        break;
    default:
        return {};
    }
    return areaChartUrl(providerBase, taht, run.date, run.hour, run.step);
}

SailingMap sailingMap(const QUrl& marevoBase, const QDate& today, int sliderHour, const QString& mapCode) {
    const int slot = floorDiv(sliderHour, 3);
    const int days = floorDiv(slot, 8);
    SailingMap map;
    map.validDate = today.addDays(days);
    map.validHour = 3 * (slot - 8 * days);
    const bool stampedYesterday = map.validHour == 0;
    map.date = stampedYesterday ? map.validDate.addDays(-1) : map.validDate;
    map.hour = stampedYesterday ? 21 : map.validHour - 3;
    map.fileName = dateStamp(map.date) + mapCode + twoDigits(map.hour) + QStringLiteral(".gif");
    const QString path = QStringLiteral("/daten/segel/%1/%2/%3/%4%5.gif")
                             .arg(QString::number(map.date.year()), twoDigits(map.date.month()),
                                  twoDigits(map.date.day()), mapCode, twoDigits(map.hour));
    map.url = appendToBase(marevoBase, QUrl::toPercentEncoding(path, "/"));
    return map;
}

QString spotReplyFile(const QString& spotName) {
    return spotName + QStringLiteral(".xml");
}

QString spotPictureFile(const QDate& date, const QString& spotName) {
    return dateStamp(date) + spotName + QStringLiteral(".gif");
}

bool spotPicturesTakeChartNames(const QString& spotName) {
    const QDate day(2000, 1, 1);
    const QString picture = spotPictureFile(day, spotName);
    const auto taken = [&picture](const QString& chartName) {
        return QFileInfo(chartName).fileName().compare(picture, Qt::CaseInsensitive) == 0;
    };
    for (int hour = 0; hour < 24; ++hour) {
        for (const QString& code : ProviderChartCodes) {
            if (taken(halofail(QString(), day, hour, 0, code))) {
                return true;
            }
        }
    }
    // Slider hours 3 to 24 name the maps of every three-hour slot of the day itself.
    for (int sliderHour = 3; sliderHour <= 24; sliderHour += 3) {
        for (const QString& code : {MainlandMapCode, IslandsMapCode}) {
            if (taken(sailingMap(QUrl(), day, sliderHour, code).fileName)) {
                return true;
            }
        }
    }
    return false;
}

QString waveMapFile(int index) {
    return QStringLiteral("wave") + twoDigits(3 * index) + QStringLiteral(".gif");
}

QUrl waveMapUrl(const QUrl& waveBase, int index) {
    return appendToBase(waveBase, "/stc/itamerinyt/images/data/" + waveMapFile(index).toLatin1());
}

QString loginAnswerFile() {
    return QStringLiteral("quellan.txt");
}

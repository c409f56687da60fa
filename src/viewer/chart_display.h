// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class LocaleFormats;

// What the viewer looks for in the chart folder for a slider hour, and the texts it writes about
// what it found. Nothing here touches a file: the window loads, this decides.
namespace viewer {

inline constexpr int TabCount = 4;

// A tab of the family strip: its caption, the same in every language; its picture among the
// program's pictures (:/data/pictures/); the lang.ini keys of its tooltip and of the name its chart
// has for assistive tools.
struct FamilyTab {
    const char* caption;
    const char* picture;
    const char* tooltipKey;
    const char* chartNameKey;
};
inline constexpr FamilyTab FamilyTabs[TabCount] = {
    {"Tuul", "wind.png", "tooltipwnd", "accchartw"},
    {"Pilvisus", "cloud.png", "tooltipcc", "accchartcc"},
    {"Temperatuur", "temperature.png", "tooltiptemp", "accchartt10"},
    {"Sademed", "rain.png", "tooltipperc", "accchartpc"}};

// The provider chart code of a tab of the family strip (0 wind, 1 cloud cover, 2 temperature,
// 3 precipitation).
QString chartCodeForTab(int tab);

// The meteograms shown side by side: today's and those of the days after it.
inline constexpr int MeteogramDays = 3;

// The provider chart files worth showing at slider hour p, best first. The provider's clock runs
// two hours behind the slider; when the hour itself is missing, the hour before it, then the one
// before that (or yesterday's 22:00 near midnight) stands in. An empty entry never exists.
QStringList providerCandidates(const QString& chartFolder, const QDate& today, int p,
                               const QString& chartCode);
// The first candidate that exists, else the last one: it is loaded all the same and fails.
template<typename Exists> QString chooseCandidate(const QStringList& candidates, Exists exists) {
    for (const QString& candidate : candidates) {
        if (!candidate.isEmpty() && exists(candidate)) {
            return candidate;
        }
    }
    return candidates.last();
}

// The two sailing-site maps of slider hour p, mainland then islands, and their valid-time label:
// "Marevo " with the file's date and the hour three after the file's own (24:00 for the map of
// yesterday's 21:00 file).
struct SailingMaps {
    QString mainlandFile;
    QString islandsFile;
    QString label;
};
SailingMaps sailingMapsAt(const LocaleFormats& formats, const QDate& today, int p);

// The name of the provider chart shown at slider hour p among the names in the chart folder; empty
// when none of its candidates is stored.
QString storedProviderChart(const QSet<QString>& chartFileNames, const QDate& today, int p,
                            const QString& chartCode);

// Which slider hours have something stored to show: a provider chart of the family (any of its
// candidates) and the sailing maps (the mainland map). One entry per slider hour 0..168.
struct StoredHours {
    QVector<bool> provider;
    QVector<bool> sailing;
};
StoredHours storedHours(const QSet<QString>& chartFileNames, const QDate& today, const QString& chartCode);

// The names of every chart file the display may load for some slider hour, of every family: near
// midnight it shows yesterday's last provider charts and sailing maps.
QSet<QString> chartFilesShown(const QDate& today);

} // namespace viewer

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDate>
#include <QSet>
#include <QString>

// Removing stored charts from the chart folder. Only pictures (*.gif) and their side files (*.ini)
// are ever touched; the spot replies and the login answer stay.
struct CleanupResult {
    int deleted = 0;
    int skipped = 0; // listed, but could not be deleted (locked, read-only); the rest went on
};

// Deletes every chart whose name begins with a day before `today`, except those the display still
// shows today (`stillShown`, names inside the folder). Each name is judged by its first eight
// characters against today's YYYYMMDD, compared character by character, so a name that starts
// with a letter is never old.
CleanupResult deleteOldCharts(const QString& chartFolder, const QDate& today,
                              const QSet<QString>& stillShown);

// Deletes every stored chart, whatever its day.
CleanupResult deleteAllCharts(const QString& chartFolder);

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/locale_formats.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class InterfaceTexts;

// The week's stored charts taken along: a folder with index.html and the charts under their own
// names, or the same folder in one zip file, for a phone or a laptop without Brisel.
namespace pack {

struct PackRequest {
    QString chartFolder;
    QStringList spots;
    QString chosenSpot;
    const InterfaceTexts& texts; // in the language the page speaks
    LocaleFormats formats;
    QDateTime now;
};

struct PackResult {
    bool written = false;
    int files = 0;           // the charts and index.html
    qint64 bytes = 0;        // what the pack takes on disk
    QString failedPath = {}; // what could not be written or read, when not written
    QString problem = {};    // why, in a few words for the terminal
};

// A target whose name ends in ".zip" is written as a zip file that holds the folder under the
// zip's own name; any other target is a folder, made when missing, where files of the same names
// are replaced.
PackResult exportPack(const PackRequest& request, const QString& target);

} // namespace pack

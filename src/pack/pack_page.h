// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pack/pack_contents.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QJsonObject>
#include <QString>

class InterfaceTexts;
class LocaleFormats;

// The pack's index.html: the stored charts on a time slider, as the window shows them, for any
// browser opening the file with no network and no server. Its texts are made here, by the
// viewer's own text rules, in the interface language of the moment of export; the page's script
// only puts them in place.
namespace pack {

struct PageContext {
    const InterfaceTexts& texts;
    const LocaleFormats& formats;
    QDateTime now;
    QString chosenSpot;
    // When each file of the pack was downloaded.
    QHash<QString, QDateTime> modified;
};

// What the page shows, in the shape its script reads.
QJsonObject pageData(const PackContents& contents, const PageContext& context);

// The page with its data inside it: a browser may not read a separate data file from file://,
// and nothing else is fetched, no script or style included.
QByteArray pageHtml(const QJsonObject& data);

} // namespace pack

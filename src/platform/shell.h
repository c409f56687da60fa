// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// What Brisel asks of the desktop: opening a web page in the user's browser and starting another
// program without waiting for it. Tests put a recorder in its place.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void openUrl(const QUrl& url) = 0;
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};

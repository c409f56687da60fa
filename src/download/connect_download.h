// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "download/connect_trigger.h"
#include "settings/settings_table.h"

#include <QList>
#include <QObject>

class DownloadController;
class InterfaceTexts;
class LinkWatch;
class StoredSettings;
class QAction;

// The program menu's two items that let the link coming up start a download by itself, and the
// watch on the link that does it. Without a back end that reports the link, both items are grey
// and say why.
class ConnectDownload final : public QObject {
    Q_OBJECT
public:
    ConnectDownload(DownloadController& downloads, const Clock& clock, QObject* parent);

    QList<QAction*> actions() const;
    void restore(const StoredSettings& settings);
    void save(StoredSettings& settings) const;
    void retranslate(const InterfaceTexts& texts);

    // What the link watch tells; public so that a test can be the system.
    void linkChanged(LinkState link);

private:
    QAction* makeItem(const settings_table::Toggle& toggle);
    bool idle() const;

    DownloadController& m_downloads;
    ConnectTrigger m_trigger;
    LinkWatch* m_watch;
    QAction* m_onConnect;
    QAction* m_onMetered;
};

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "download/connect_download.h"

#include "download/download_controller.h"
#include "net/link_watch.h"
#include "settings/interface_texts.h"
#include "settings/stored_settings.h"

#include <QAction>
#include <QApplication>

namespace t = settings_table;

ConnectDownload::ConnectDownload(DownloadController& downloads, const Clock& clock, QObject* parent)
    : QObject(parent), m_downloads(downloads), m_trigger(clock), m_watch(new LinkWatch(this)),
      m_onConnect(makeItem(t::laadiühendusel)), m_onMetered(makeItem(t::mõõdetudühendus)) {
    m_onConnect->setEnabled(m_watch->available());
    const auto meteredFollows = [this] {
        m_onMetered->setEnabled(m_watch->available() && m_onConnect->isChecked());
    };
    connect(m_onConnect, &QAction::toggled, this, meteredFollows);
    meteredFollows();
    connect(m_watch, &LinkWatch::changed, this, &ConnectDownload::linkChanged);
    linkChanged(m_watch->state());
}

QAction* ConnectDownload::makeItem(const settings_table::Toggle& toggle) {
    auto* item = new QAction(toggle.builtInCaption, this);
    item->setObjectName(QString::fromUtf8(toggle.objectName));
    item->setCheckable(true);
    item->setChecked(toggle.builtInChecked);
    return item;
}

QList<QAction*> ConnectDownload::actions() const {
    return {m_onConnect, m_onMetered};
}

void ConnectDownload::restore(const StoredSettings& settings) {
    m_onConnect->setChecked(settings.menuTicked(t::laadiühendusel));
    m_onMetered->setChecked(settings.menuTicked(t::mõõdetudühendus));
}

void ConnectDownload::save(StoredSettings& settings) const {
    settings.writeMenuCheck(t::laadiühendusel, m_onConnect->isChecked());
    settings.writeMenuCheck(t::mõõdetudühendus, m_onMetered->isChecked());
}

void ConnectDownload::retranslate(const InterfaceTexts& texts) {
    m_onConnect->setText(texts.keeltekst(QStringLiteral("downloadonconnect")));
    m_onMetered->setText(texts.keeltekst(QStringLiteral("onmeteredlink")));
    const QString why = m_watch->available() ? QString() : texts.keeltekst(QStringLiteral("nolinkwatch"));
    m_onConnect->setToolTip(why);
    m_onMetered->setToolTip(why);
}

void ConnectDownload::linkChanged(LinkState link) {
    const ConnectTrigger::Wishes wishes{m_onConnect->isChecked(), m_onMetered->isChecked()};
    if (m_trigger.linkChanged(link, wishes, idle())) {
        m_downloads.startUnattended();
    }
}

// A question on the screen (delete every chart? take the update?) waits for the user; a download
// must not start under it.
bool ConnectDownload::idle() const {
    return m_downloads.idle() && !QApplication::activeModalWidget();
}

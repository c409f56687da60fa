// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/link_watch.h"

#include <QNetworkInformation>

namespace {

QNetworkInformation* loadedBackend() {
    if (!QNetworkInformation::instance()) {
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    }
    return QNetworkInformation::instance();
}

} // namespace

LinkWatch::LinkWatch(QObject* parent) : QObject(parent) {
    QNetworkInformation* backend = loadedBackend();
    m_available = backend && backend->supports(QNetworkInformation::Feature::Reachability);
    if (!m_available) {
        return;
    }
    connect(backend, &QNetworkInformation::reachabilityChanged, this, &LinkWatch::tell);
    connect(backend, &QNetworkInformation::isBehindCaptivePortalChanged, this, &LinkWatch::tell);
    connect(backend, &QNetworkInformation::isMeteredChanged, this, &LinkWatch::tell);
}

LinkState LinkWatch::state() const {
    const QNetworkInformation* backend = QNetworkInformation::instance();
    if (!m_available || !backend) {
        return {};
    }
    const QNetworkInformation::Reachability reachability = backend->reachability();
    LinkState state;
    state.known = reachability != QNetworkInformation::Reachability::Unknown;
    state.online =
        reachability == QNetworkInformation::Reachability::Online && !backend->isBehindCaptivePortal();
    state.metered = backend->isMetered();
    return state;
}

void LinkWatch::tell() {
    Q_EMIT changed(state());
}

#pragma once

#include "download/fetch.h"

#include <QString>
#include <QUrl>

// The outside services, from brisel.ini in the program folder: [hosts] holds the base address
// (scheme, host, optional port) of each service and the provider's login-page title; [download]
// the limits of a fetch in seconds; [update] the public key that updaters are checked against.
struct HostConfig {
    QUrl provider;
    QUrl marevo;
    QUrl wave;
    QUrl home;
    QString loginMarker;
    FetchLimits fetchLimits;
    QString updatePublicKey;

    static HostConfig load(const QString& briselIniPath);
};

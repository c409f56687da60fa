#pragma once

#include <QString>
#include <QUrl>
#include <chrono>

// The outside services, from brisel.ini in the program folder: [hosts] holds the base address
// (scheme, host, optional port) of each service and the provider's login-page title; [download]
// the transfer timeout; [update] the public key that updaters are checked against.
struct HostConfig {
    QUrl provider;
    QUrl marevo;
    QUrl wave;
    QUrl home;
    QString loginMarker;
    std::chrono::milliseconds transferTimeout{std::chrono::seconds(30)};
    QString updatePublicKey;

    static HostConfig load(const QString& briselIniPath);
};

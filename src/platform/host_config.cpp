// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/host_config.h"

#include "platform/profile_file.h"

namespace {

// Only http and https bases are taken; anything else leaves the service unreachable (an empty
// address), which every fetch then refuses without a request.
QUrl baseAddress(const ProfileFile& ini, const QString& key) {
    const QUrl url(ini.value(QStringLiteral("hosts"), key), QUrl::StrictMode);
    const bool web = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    return web && !url.host().isEmpty() ? url.adjusted(QUrl::StripTrailingSlash) : QUrl();
}

// A whole number of [download] from 1 to `most`, or the default when the value is missing or
// unusable.
int wholeNumber(const ProfileFile& ini, const QString& key, int most, int fallback) {
    bool ok = false;
    const int value = ini.value(QStringLiteral("download"), key).toInt(&ok);
    return ok && value > 0 && value <= most ? value : fallback;
}

std::chrono::milliseconds seconds(const ProfileFile& ini, const QString& key,
                                  std::chrono::milliseconds fallback) {
    constexpr int Day = 24 * 3600;
    const auto given = std::chrono::duration_cast<std::chrono::seconds>(fallback);
    return std::chrono::seconds(wholeNumber(ini, key, Day, static_cast<int>(given.count())));
}

} // namespace

HostConfig HostConfig::load(const QString& briselIniPath) {
    const ProfileFile ini = ProfileFile::load(briselIniPath);
    HostConfig config;
    config.provider = baseAddress(ini, QStringLiteral("provider"));
    config.marevo = baseAddress(ini, QStringLiteral("marevo"));
    config.wave = baseAddress(ini, QStringLiteral("wave"));
    config.home = baseAddress(ini, QStringLiteral("home"));
    config.loginMarker =
        ini.value(QStringLiteral("hosts"), QStringLiteral("loginmarker"), QStringLiteral("Quellan login"));
    config.fetchLimits.connect = seconds(ini, QStringLiteral("connecttimeout"), config.fetchLimits.connect);
    config.fetchLimits.idle = seconds(ini, QStringLiteral("timeout"), config.fetchLimits.idle);
    config.fetchLimits.deadline = seconds(ini, QStringLiteral("deadline"), config.fetchLimits.deadline);
    config.fetchLimits.connections = wholeNumber(
        ini, QStringLiteral("connections"), FetchLimits::MostConnections, config.fetchLimits.connections);
    config.updatePublicKey = ini.value(QStringLiteral("update"), QStringLiteral("pubkey"));
    return config;
}

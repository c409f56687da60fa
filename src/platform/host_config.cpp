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
    bool ok = false;
    const int seconds = ini.value(QStringLiteral("download"), QStringLiteral("timeout")).toInt(&ok);
    if (ok && seconds > 0) {
        config.transferTimeout = std::chrono::seconds(seconds);
    }
    config.updatePublicKey = ini.value(QStringLiteral("update"), QStringLiteral("pubkey"));
    return config;
}

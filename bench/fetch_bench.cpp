// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// 200 fetches of one provider chart from the demo server over loopback, through the program's
// fetch primitive, against the same 200 requests made by a bare keep-alive HTTP client. The
// difference is what the primitive itself costs per file: the network stack, the temporary
// file, the picture check, the flush to disk and the rename. It is measured twice: into a folder
// on the disk, as a chart folder is, and into memory (/dev/shm), which leaves the disk's flush
// out and shows the rest.
#include "demo_server.h"
#include "net/chart_names.h"
#include "net/fetch.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <httplib.h>
#include <qcoro/qcorotask.h>

namespace {

constexpr int Fetches = 200;

QCoro::Task<int> fetchRepeatedly(Downloader& downloader, QUrl url, QString target, int count) {
    int succeeded = 0;
    for (int i = 0; i < count; ++i) {
        succeeded += (co_await downloader.fetch(url, target)).ok ? 1 : 0;
    }
    co_return succeeded;
}

double bareClientMsPerFetch(quint16 port, const std::string& path) {
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Fetches; ++i) {
        const auto reply = client.Get(path.c_str());
        if (!reply || reply->status != 200) {
            std::fprintf(stderr, "bare client: request failed\n");
            return -1;
        }
    }
    return timer.nsecsElapsed() / 1e6 / Fetches;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    demo::DemoServer server{demo::ServerOptions{}};
    if (!server.start(0)) {
        std::fprintf(stderr, "cannot start the demo server\n");
        return 1;
    }
    // Yesterday's 12 o'clock run is out at any hour of today.
    const QDate today = QDate::currentDate();
    const QUrl url = halourl(server.baseUrl(), today, today, 12, 2, QStringLiteral("w"));
    QTemporaryDir onDisk(QDir::tempPath() + QStringLiteral("/brisel-fetch-XXXXXX"));
    QTemporaryDir inMemory(QStringLiteral("/dev/shm/brisel-fetch-XXXXXX"));

    Downloader downloader;
    // The first requests draw and cache the picture; only the steady state is measured.
    const QString diskTarget = onDisk.filePath(QStringLiteral("chart.gif"));
    if (QCoro::waitFor(fetchRepeatedly(downloader, url, diskTarget, 5)) != 5) {
        std::fprintf(stderr, "warm-up fetches failed\n");
        return 1;
    }
    const double bare = bareClientMsPerFetch(
        server.port(), url.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority).toStdString());
    const auto msPerFetch = [&](const QString& target, int* succeeded) {
        QElapsedTimer timer;
        timer.start();
        *succeeded = QCoro::waitFor(fetchRepeatedly(downloader, url, target, Fetches));
        return timer.nsecsElapsed() / 1e6 / Fetches;
    };
    int succeeded = 0;
    const double onDiskMs = msPerFetch(diskTarget, &succeeded);

    std::printf("chart_bytes=%lld\n", static_cast<long long>(QFileInfo(diskTarget).size()));
    std::printf("fetches=%d\nsucceeded=%d\n", Fetches, succeeded);
    std::printf("bare_client_ms_per_fetch=%.3f\n", bare);
    std::printf("downloadi_ms_per_fetch=%.3f\n", onDiskMs);
    std::printf("overhead_ms_per_fetch=%.3f\n", onDiskMs - bare);
    if (inMemory.isValid()) {
        int inMemorySucceeded = 0;
        const double inMemoryMs =
            msPerFetch(inMemory.filePath(QStringLiteral("chart.gif")), &inMemorySucceeded);
        std::printf("overhead_ms_per_fetch_in_memory=%.3f\n", inMemoryMs - bare);
        succeeded = std::min(succeeded, inMemorySucceeded);
    }
    return succeeded == Fetches ? 0 : 1;
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "demo_server.h"
#include "form1_fixture.h"
#include "net/fetch.h"
#include "settings/interface_texts.h"
#include "test_support.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <qcoro/qcorotask.h>

namespace side_windows_test {

constexpr int PatienceMs = 10000;

inline std::unique_ptr<demo::DemoServer> startServer(demo::ServerOptions options = {}) {
    auto server = std::make_unique<demo::DemoServer>(std::move(options));
    EXPECT_TRUE(server->start(0));
    return server;
}

// An address on the loopback where nothing answers: a server that was there and has stopped.
inline QUrl deadAddress() {
    demo::DemoServer gone{demo::ServerOptions{}};
    EXPECT_TRUE(gone.start(0));
    const QUrl address = gone.baseUrl();
    gone.stop();
    return address;
}

inline QStringList requestsStartingWith(const demo::DemoServer& server, const QString& prefix) {
    QStringList matching;
    for (const QString& path : server.requestedPaths()) {
        if (path.startsWith(prefix)) {
            matching << path;
        }
    }
    return matching;
}

// A program folder, its texts and the program's one downloader, for a side window of its own.
struct SideWindowFixture {
    explicit SideWindowFixture(const QString& keel = InterfaceTexts::Estonian) { texts.setLanguage(keel); }

    testing_support::TempProgramFolder folder;
    InterfaceTexts texts{folder.file(QStringLiteral("lang.ini"))};
    Downloader downloader;
    RecordingShell shell;
};

} // namespace side_windows_test

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// brisel-demo-server: Brisel's four outside services on one loopback port, for the demo and for
// trying the program without the real services. Prints the port it took as its first line and
// serves until SIGINT or SIGTERM. With --print-public-key it prints the key the updater's
// signature is checked with instead, and ends.
#include "demo_server.h"

#include <QGuiApplication>
#include <csignal>
#include <cstdio>
#include <pthread.h>

namespace {

// Blocked in every thread, so that the main thread alone takes them, with sigwait().
sigset_t blockStopSignals() {
    sigset_t stopSet;
    sigemptyset(&stopSet);
    sigaddset(&stopSet, SIGINT);
    sigaddset(&stopSet, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSet, nullptr);
    return stopSet;
}

void printLine(std::FILE* stream, const QString& text) {
    std::fprintf(stream, "%s\n", qPrintable(text));
    std::fflush(stream);
}

bool wantsHelp(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"));
}

} // namespace

int main(int argc, char** argv) {
    const sigset_t stopSignals = blockStopSignals();
    // The pictures need fonts, hence a GUI application, but never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("brisel-demo-server"));
    if (wantsHelp(QGuiApplication::arguments())) {
        printLine(stdout, demo::usageText());
        return 0;
    }
    if (QGuiApplication::arguments().contains(QStringLiteral("--print-public-key"))) {
        printLine(stdout, demo::demoUpdaterPublicKey());
        return 0;
    }
    const Expected<demo::ServerOptions> parsed = demo::parseOptions(QGuiApplication::arguments());
    if (!parsed) {
        printLine(stderr, parsed.error());
        return 2;
    }
    const demo::ServerOptions& options = *parsed;
    demo::DemoServer server(options);
    if (!server.start(options.port)) {
        printLine(stderr,
                  QStringLiteral("Cannot listen on 127.0.0.1 port %1 or open the log.").arg(options.port));
        return 1;
    }
    printLine(stdout, QString::number(server.port()));
    printLine(stdout, QStringLiteral("Serving the provider, sailing, wave and home sites at %1")
                          .arg(server.baseUrl().toString()));
    int received = 0;
    sigwait(&stopSignals, &received);
    server.stop();
    return 0;
}

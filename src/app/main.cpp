// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/command_line.h"
#include "app/form1.h"
#include "app/headless_run.h"
#include "app/startup_probe.h"
#include "net/fetch.h"
#include "platform/clock.h"
#include "platform/desktop_shell.h"
#include "settings/interface_texts.h"
#include "settings/registry_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <cstdio>

namespace {

void nameApplication() {
    QCoreApplication::setApplicationName(QStringLiteral("Brisel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BRISEL_VERSION));
}

// Every size of the icon the program ships, so the desktop picks the one it draws.
QIcon programIcon() {
    QIcon icon;
    const QDir sizes(QStringLiteral(":/data/icons"));
    for (const QString& name : sizes.entryList(QDir::Files)) {
        icon.addFile(sizes.filePath(name));
    }
    return icon;
}

void showSettingsError(const QString& message) {
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), message, QMessageBox::Ok);
    box.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (command_line::needsNoWindow(command_line::argumentsOf(argc, argv))) {
        QCoreApplication app(argc, argv);
        nameApplication();
        QCommandLineParser parser;
        command_line::declare(parser);
        parser.process(app); // answers --help and --version, and refuses what it does not know
        return parser.isSet(command_line::exportPack()) ? exportPackWithoutWindow(parser)
                                                        : runDownloadWithoutWindow(parser);
    }
    QApplication app(argc, argv);
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(BRISEL_APP_ID));
    QApplication::setWindowIcon(programIcon());

    QCommandLineParser parser;
    command_line::declare(parser);
    parser.process(app);
    const Expected<std::unique_ptr<Clock>> clock = command_line::clock(parser);
    if (!clock) {
        std::fprintf(stderr, "brisel: %s\n", qPrintable(clock.error()));
        return 1;
    }

    const ProgramFolder folder = command_line::programFolder(parser);
    if (!folder.prepare()) {
        std::fprintf(stderr, "brisel: cannot make the chart folder in %s\n", qPrintable(folder.root()));
    }
    reg::Store store(reg::makeDefaultBackend(folder.portableSettingsFile()));
    store.setErrorReporter(showSettingsError);
    InterfaceTexts texts(folder.langIniLayers());
    DesktopShell shell;
    const HostConfig hosts = HostConfig::load(folder.briselIni());
    Downloader downloader;
    downloader.setLimits(hosts.fetchLimits);

    Form1 form({folder, store, texts, **clock, hosts, shell, downloader, LocaleFormats::system()});
    form.Form_Load();
    if (parser.isSet(command_line::measureStartup())) {
        new StartupProbe(&form);
    }
    form.show();
    return QApplication::exec();
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "app/command_line.h"

#include "platform/clock.h"
#include "platform/program_folder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <algorithm>

namespace command_line {

QCommandLineOption home() {
    return {QStringLiteral("home"),
            QStringLiteral("Keep the chart folder, the answer files and your own lang.ini, spots.ini or "
                           "brisel.ini in DIR instead of your data folder."),
            QStringLiteral("DIR")};
}

QCommandLineOption now() {
    return {QStringLiteral("now"),
            QStringLiteral("Take MOMENT (e.g. 2007-04-10T06:00:00, local time) as the current time, "
                           "for testing and scheduling."),
            QStringLiteral("MOMENT")};
}

QCommandLineOption download() {
    return {QStringLiteral("download"),
            QStringLiteral("Download the charts as the window's button would, without a window and "
                           "without a display, then exit.")};
}

QCommandLineOption exportPack() {
    return {QStringLiteral("export-pack"),
            QStringLiteral("Write the stored charts of today and the following days with a page that "
                           "shows them in any browser, without Brisel and without a network, into the "
                           "folder DIR, or into one zip file when DIR ends in .zip; then exit."),
            QStringLiteral("DIR")};
}

QCommandLineOption measureStartup() {
    return {QStringLiteral("measure-startup"),
            QStringLiteral("Print when the window was first painted and the memory it took, then close.")};
}

void declare(QCommandLineParser& parser) {
    parser.setApplicationDescription(QStringLiteral("Weather charts for sailors, online and offline."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({home(), now(), download(), exportPack(), measureStartup()});
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    return arguments;
}

bool needsNoWindow(const QStringList& arguments) {
    QCommandLineParser parser;
    declare(parser);
    const QStringList answeredWithoutWindow{QStringLiteral("help"), QStringLiteral("help-all"),
                                            QStringLiteral("version"), download().names().constFirst(),
                                            exportPack().names().constFirst()};
    if (parser.parse(arguments)) {
        return std::any_of(answeredWithoutWindow.cbegin(), answeredWithoutWindow.cend(),
                           [&parser](const QString& name) { return parser.isSet(name); });
    }
    return std::any_of(arguments.cbegin(), arguments.cend(), [&](const QString& argument) {
        return argument == QLatin1String("-h") || argument == QLatin1String("-v") ||
               (argument.startsWith(QLatin1String("--")) && answeredWithoutWindow.contains(argument.mid(2)));
    });
}

Expected<std::unique_ptr<Clock>> clock(const QCommandLineParser& parser) {
    if (!parser.isSet(now())) {
        return std::make_unique<SystemClock>();
    }
    const QDateTime moment = QDateTime::fromString(parser.value(now()), Qt::ISODate);
    if (!moment.isValid()) {
        return failed(QStringLiteral("--now takes a date and time such as 2007-04-10T06:00:00"));
    }
    return std::make_unique<FixedClock>(moment);
}

ProgramFolder programFolder(const QCommandLineParser& parser) {
    return ProgramFolder::choose(parser.value(home()), QCoreApplication::applicationDirPath());
}

} // namespace command_line

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/expected.h"

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <memory>

class Clock;
class ProgramFolder;
class QCommandLineParser;

// The program's options, declared once: what --help lists and the man page is made from, and
// what the window and the run without it accept alike.
namespace command_line {

QCommandLineOption home();
QCommandLineOption now();
QCommandLineOption download();
QCommandLineOption exportPack();
QCommandLineOption measureStartup();

// Every option, --help and --version among them.
void declare(QCommandLineParser& parser);

QStringList argumentsOf(int argc, char** argv);
// True when the arguments ask for what is answered without a window (--help, --version,
// --download, --export-pack), so that it works without a display; also when they are wrong and name one of
// those, so that the mistake is told on the terminal rather than by a window that may not open.
bool needsNoWindow(const QStringList& arguments);

// The clock the program runs on: the system clock, or with --now a clock that stands at that
// moment (ISO 8601, local time), so a test or a scheduled run can fetch as of a given hour.
// What to tell the user instead when --now holds no date and time.
Expected<std::unique_ptr<Clock>> clock(const QCommandLineParser& parser);

// The folder the program keeps its files in: --home when given, else the portable folder or the
// user's data folder, as ProgramFolder chooses. Not yet made on disk.
ProgramFolder programFolder(const QCommandLineParser& parser);

} // namespace command_line

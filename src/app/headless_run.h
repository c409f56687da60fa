// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QCommandLineParser;

// `brisel --download [--home DIR] [--now MOMENT]`: the window's download run without a window, for
// a scheduled download. It takes the stored settings as the window has them right after start-up
// and the remembered provider login; it never checks for updates and never asks for a login.
// Needs a QCoreApplication and no display; takes the parsed command line. Returns the exit status:
// 0 when at least one file was fetched or confirmed unchanged (or none was asked for), 2 when files
// were asked for and none arrived, 1 when it could not start (a bad option, no chart folder).
int runDownloadWithoutWindow(const QCommandLineParser& parser);

// `brisel --export-pack DIR [--home DIR] [--now MOMENT]`: the offline pack of the stored charts,
// in the stored interface language, without a window and without a display. Prints what it wrote;
// returns 0 when the pack is written, 1 when it could not start or could not write it.
int exportPackWithoutWindow(const QCommandLineParser& parser);

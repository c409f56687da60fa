// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>

// The home site's answers are read by the rule of the program they were first written for: a line
// ends at a carriage return, a line feed right after it belongs to that end, and a line feed on
// its own is part of the line. Every line is given back followed by CR LF, ready for a text box.
QString crLines(const QString& text);

// The answer file read by that rule. UTF-8 when the bytes are valid UTF-8, else Latin-1, so an
// answer from an older site in a single-byte code page still shows. "" when it cannot be read.
QString readAnswerFile(const QString& path);

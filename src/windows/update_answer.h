// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

class InterfaceTexts;

// The home site decides whether a newer version exists and says so in Estonian; the program only
// looks for the marker word and translates the two fixed phrases for the other languages.
struct UpdateAnswer {
    QString text;
    bool offersUpdate = false;
};

inline const QString UpdateCheckFailedText = QStringLiteral("Failed to download update info");

// `answer` is the answer file's text as the update window shows it.
UpdateAnswer judgeUpdateAnswer(const QString& answer, const InterfaceTexts& texts);

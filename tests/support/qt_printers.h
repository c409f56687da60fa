// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// How GoogleTest prints Qt's text and value types in a failure message: as Qt's own debug stream
// writes them, so a failed comparison shows the text rather than the bytes of the object. Every
// test source sees these (the test targets include this header first), so each type is printed
// the same way in all of them.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <ostream>

void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QStringList& texts, std::ostream* out);
void PrintTo(const QVariant& value, std::ostream* out);

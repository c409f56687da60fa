// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <QString>
#include <QVariant>

// How the program names and marks its controls: an element of a control array is named with its
// index, "plabel(0)".
inline QString arrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// A control made under its name, as every control of the program is.
template<typename T> T* named(T* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "qt_printers.h"

#include <QDebug>

namespace {

template<typename T> void printAsQtDoes(const T& value, std::ostream* out) {
    QString text;
    QDebug(&text).nospace() << value;
    *out << text.toStdString();
}

} // namespace

void PrintTo(const QString& text, std::ostream* out) {
    printAsQtDoes(text, out);
}

void PrintTo(const QStringList& texts, std::ostream* out) {
    printAsQtDoes(texts, out);
}

void PrintTo(const QVariant& value, std::ostream* out) {
    printAsQtDoes(value, out);
}

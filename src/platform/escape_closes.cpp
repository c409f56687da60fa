// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/escape_closes.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

void closeOnEscape(QWidget* window) {
    auto* escape = new QShortcut(QKeySequence::Cancel, window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, window, &QWidget::close);
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// Measures a start: when the watched window is first painted it prints the moment (milliseconds
// since the epoch, so a script that noted the launch can take the difference) and the resident
// memory, one name=value a line, then closes the window.
class StartupProbe final : public QObject {
    Q_OBJECT
public:
    explicit StartupProbe(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    bool m_reported = false;
};

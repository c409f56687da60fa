// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class InterfaceTexts;
class QLabel;

// The legend of the chart symbols: a window of its own beside the main window, with its texts
// read in the current language when it opens.
class LegendWindow final : public QWidget {
    Q_OBJECT
public:
    LegendWindow(const InterfaceTexts& texts, QWidget* owner);

private:
    QLabel* Picture3;
    QLabel* Picture5;
    QLabel* Label2;
};

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

class ChartView;
class InterfaceTexts;
class PictureBox;
class QLabel;

// The shown family's provider chart as large as the screen. It shows what the chart view shows,
// hour by hour, and moves the main window's slider with the slider's own keys, so the hour stays
// in one place; Space plays or stops the animation, Escape and F11 leave. Closing deletes it.
class FullScreenChart final : public QWidget {
    Q_OBJECT
public:
    FullScreenChart(ChartView& view, const InterfaceTexts& texts, QWidget* mainWindow);

    // Covers the screen the main window is on and takes the keyboard.
    void open();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showChart(const QImage& picture, const QString& name);

    ChartView& m_view;
    const InterfaceTexts& m_texts;
    QWidget* m_mainWindow;
    PictureBox* m_picture;
    QLabel* m_caption;
    QLabel* m_keys;
};

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPixmap>
#include <QWidget>
#include <optional>

class QLabel;

// One spot's meteogram of one day at its own size, in a window of its own beside the main window:
// its caption names the spot and the day, and a word stands where the meteogram is missing.
// Escape closes it; closing deletes it.
class MeteogramWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MeteogramWindow(QWidget* parent);

    // `name` names the spot and the day; `missing` is said when there is no picture.
    void showMeteogram(const QString& name, const std::optional<QPixmap>& picture, const QString& missing);

private:
    QLabel* m_caption;
    QLabel* m_picture;
};

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "download/download_run.h"
#include "settings/settings_table.h"

#include <QVector>
#include <QWidget>

class InterfaceTexts;
class StoredSettings;
class QCheckBox;
class QLabel;

// What a download run fetches, as the user ticks it: the families of provider charts, the sailing
// maps, the spot forecasts (this widget), and how it runs: every third hour, only the marked
// period, and the update check before a run (runOptions()). Each box keeps its state under its
// built-in caption. The hint Label4 about double-clicks is placed by the window.
class RunChoiceBoxes final : public QWidget {
    Q_OBJECT
public:
    explicit RunChoiceBoxes(QWidget* parent = nullptr);

    // Read anew at every use: a box ticked during a run counts from the next file on.
    DownloadRunHost::Choices choices() const;
    bool checksForUpdates() const;
    QWidget* runOptions() const { return m_runOptions; }
    QWidget* hint() const;

    void restore(const StoredSettings& settings);
    void save(StoredSettings& settings) const;
    void retranslate(const InterfaceTexts& texts);

private:
    QCheckBox* makeBox(const settings_table::Toggle& toggle, QWidget* parent);
    QCheckBox* box(const settings_table::Toggle& toggle) const;
    bool ticked(const settings_table::Toggle& toggle) const;

    QWidget* m_runOptions;
    QVector<QCheckBox*> m_boxes;
    QLabel* m_hint;
};

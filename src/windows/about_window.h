// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/program_folder.h"

#include <QDialog>
#include <QUrl>
#include <qcoro/qcorotask.h>

class Downloader;
class InterfaceTexts;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The program's name, its version and the people who support it. The supporters list lives on
// the home site and is fetched each time the box opens.
class AboutWindow final : public QDialog {
    Q_OBJECT
public:
    AboutWindow(const InterfaceTexts& texts, Downloader& downloader, ProgramFolder folder, QUrl home,
                QWidget* parent);

    // Fetches and shows the list. Resumes even when the box was closed meanwhile; it then touches
    // nothing.
    QCoro::Task<> load();

    QLabel* Image1;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* Label1;
    QPlainTextEdit* toetajad;
    QPushButton* cmdOK;

private:
    Downloader& m_downloader;
    ProgramFolder m_folder;
    QUrl m_home;
};

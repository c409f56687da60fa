// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/program_folder.h"

#include <QDialog>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <qcoro/qcorotask.h>

class Downloader;
class InterfaceTexts;
class Shell;
class QLabel;
class QPlainTextEdit;
class QPushButton;

struct UpdateWindowServices {
    ProgramFolder folder;
    const InterfaceTexts& texts;
    Downloader& downloader;
    Shell& shell;
    QUrl home;
    // brisel.ini's [update] pubkey; empty for the release key.
    QString publicKey;
    // Ends the program at once, without the main window's shut-down: the updater replaces it.
    std::function<void()> endProgram;
    // Whether "get update" fetches and starts the updater. A packaged program is updated by the
    // package manager instead, so there the button opens the home page, which tells how.
    bool fetchesUpdater = BRISEL_SELF_UPDATE;
};

// Asks the home site whether a newer version exists and offers to fetch and start its updater, or
// to open the home page.
// load() is what the menu and the download run share: the run loads the window unseen and shows
// it only when offersUpdate().
class UpdateWindow final : public QDialog {
    Q_OBJECT
public:
    UpdateWindow(UpdateWindowServices services, QWidget* parent);

    // The check. Resumes even when the window was closed meanwhile; it then touches nothing.
    QCoro::Task<> load();
    bool offersUpdate() const { return m_offersUpdate; }
    // The updater was started and the program asked to end: whoever waited on this window must
    // not go on with what it was doing.
    bool updaterStarted() const { return m_updaterStarted; }

    QLabel* Label1;
    QPlainTextEdit* Text1;
    QPushButton* Command1;
    QPushButton* Command2;

private:
    QCoro::Task<> Command1_Click();
    void startUpdaterOrComplain(const QString& updater);
    void showUpdateFailure();

    UpdateWindowServices m_services;
    bool m_offersUpdate = false;
    bool m_updaterStarted = false;
};

// Before a download run: the window is loaded without being shown, and shown only when it offers
// an update; the run waits for it to be closed. True when the user took the update: the program is
// ending for the updater, and nothing of the run may follow. The window is deleted at the end.
QCoro::Task<bool> updaterTookOver(QPointer<UpdateWindow> window);

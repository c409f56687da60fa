// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/form1.h"
#include "form1_controls.h"
#include "net/fetch.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "provider/spot_markers.h"
#include "settings/interface_texts.h"
#include "settings/registry_store.h"
#include "settings/settings_table.h"
#include "test_support.h"
#include "viewer/picture_box.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <functional>
#include <memory>

// Records what the program asks of the desktop instead of doing it.
class RecordingShell final : public Shell {
public:
    void openUrl(const QUrl& url) override { openedUrls.append(url); }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        started.append(QStringList{program} + arguments);
        return true;
    }
    QList<QUrl> openedUrls;
    QList<QStringList> started;
};

// Press, release, press, release through the window, as the system delivers a double-click: the
// second press arrives as the double-click. (QTest's widget overload sends the double-click event
// alone, which a button never takes for a click.)
inline void doubleClickAsAUserDoes(QWidget* widget) {
    QWindow* window = widget->window()->windowHandle();
    const QPoint at = window->mapFromGlobal(widget->mapToGlobal(widget->rect().center()));
    QTest::mouseDClick(window, Qt::LeftButton, {}, at);
}

// Acts on each modal dialog of type T once it shows, looking every 10 ms while `owner` lives, as a
// user answers what the program asks; `act` says whether to go on watching for the next one.
template<typename T> void whenModalShows(QObject* owner, std::function<bool(T*)> act) {
    auto* poll = new QTimer(owner);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act = std::move(act)] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && !act(dialog)) {
            poll->deleteLater();
        }
    });
    poll->start(10);
}

// A notch of the wheel over a widget, with the modifiers held.
inline void wheelOver(QWidget* widget, const QPointF& at, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, QWheelEvent::DefaultDeltasPerStep),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
}

// A main window in a temporary program folder (in the system's temporary folder or the one
// given), over a settings file of its own, on a clock that stands still, writing dates
// day.month.year whatever the machine's locale.
class Form1Fixture {
public:
    explicit Form1Fixture(const QDateTime& now = QDateTime(QDate(2007, 4, 10), QTime(10, 30)),
                          const QString& folderParent = QDir::tempPath())
        : folder(folderParent), clock(now),
          settingsFile(settingsDir.filePath(QStringLiteral("settings.reg"))) {}

    // Starts the window as the program does: load, then show.
    Form1& start() {
        store = std::make_unique<reg::Store>(reg::makeFileBackend(settingsFile));
        texts = std::make_unique<InterfaceTexts>(folder.file(QStringLiteral("lang.ini")));
        HostConfig hosts = HostConfig::load(folder.file(QStringLiteral("brisel.ini")));
        // Closing the window shuts its downloader down, as at the end of the program.
        downloaderInstance = std::make_unique<Downloader>();
        downloaderInstance->setLimits(hosts.fetchLimits);
        form = std::make_unique<Form1>(Form1Services{ProgramFolder(folder.root()), *store, *texts, clock,
                                                     hosts, shell, *downloaderInstance, formats,
                                                     [this] { endForUpdater(); }, systemLocale});
        form->Form_Load();
        form->show();
        return *form;
    }

    // Closing ends the event loop of a real run; here only the window goes.
    void close() {
        form->close();
        form.reset();
    }

    QVariant stored(const QString& name) {
        reg::Store reader(reg::makeFileBackend(settingsFile));
        return reader.ReadRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath), name);
    }

    void storeSetting(const QString& name, const QVariant& value) {
        reg::Store writer(reg::makeFileBackend(settingsFile));
        writer.WriteRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath), name, value);
    }

    // The program's end leaves every event loop, the modal update window's among them; the test
    // goes on, so only that loop is left.
    void endForUpdater() {
        ++endedForUpdater;
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    }

    template<typename T> T* find(const QString& name) const { return form->findChild<T*>(name); }

    // Moves the slider to hour p as a user's scroll does.
    Form1& showHour(int p) {
        ui(*form).Slider1->setValue(p);
        form->chartView().Slider1_Scroll();
        return *form;
    }

    testing_support::TempProgramFolder folder;
    FixedClock clock;
    // The system's language, which a first start takes when lang.ini has it.
    QLocale systemLocale = QLocale::c();
    LocaleFormats formats{QStringLiteral("dd.MM.yyyy"), QStringLiteral("HH:mm")};
    RecordingShell shell;
    // How often the window ended the program for an updater.
    int endedForUpdater = 0;
    std::unique_ptr<Downloader> downloaderInstance;
    QTemporaryDir settingsDir;
    QString settingsFile;
    std::unique_ptr<reg::Store> store;
    std::unique_ptr<InterfaceTexts> texts;
    std::unique_ptr<Form1> form;
};

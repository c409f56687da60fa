// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/locale_formats.h"

#include <QHash>
#include <QIcon>
#include <QUrl>
#include <QWidget>
#include <qcoro/qcorotask.h>

class Downloader;
class InterfaceTexts;
class QLabel;
class QPushButton;
class QSlider;
class QStatusBar;

struct WaveMapServices {
    const InterfaceTexts& texts;
    Downloader& downloader;
    QString chartFolder;
    QUrl waveBase;
    // The main window's download-button pictures: QIcon::Normal the normal one, QIcon::Disabled
    // the stop one.
    QIcon downloadPictures;
    LocaleFormats formats;
};

// The wave-height maps of "Iltameri nyt", 3 to 54 hours ahead: a fetch of all eighteen side by
// side that a Stop ends after the maps on their way, and a slider over the stored ones. It shares only the
// chart folder and the download-button pictures with the main window.
class WaveMapWindow final : public QWidget {
    Q_OBJECT
public:
    WaveMapWindow(WaveMapServices services, QWidget* owner);

    QLabel* Picture1;
    QSlider* Slider1;
    QPushButton* Command2;
    QStatusBar* StatusBar;

private:
    void Command2_Click();
    QCoro::Task<> laadikaardid();
    void Slider1_Change();
    void moveSliderTo(int position);
    void restoreButton();
    bool stopRequested() const;
    QString absenceText(int index) const;
    QString failureText(int index) const;
    bool anyMapStored() const;

    WaveMapServices m_services;
    QIcon m_normalPicture;
    QIcon m_stopPicture;
    // Why the last fetch of a map failed, by slider position, until one succeeds: a map kept from
    // before or none at all would otherwise look as if nothing had been tried.
    QHash<int, QString> m_failures;
};

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "app/form1.h"
#include "download/download_controller.h"
#include "download/run_status_line.h"
#include "provider/provider_session.h"
#include "provider/spot_markers.h"
#include "viewer/chart_view.h"
#include "viewer/meteogram_panel.h"
#include "viewer/picture_box.h"
#include "viewer/time_slider.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

// The main window's controls found by their names, as a user's tool finds them; a name that is
// missing fails the test at once.
class Form1Controls {
public:
    explicit Form1Controls(const Form1& form) : m_form(form) {}

private:
    const Form1& m_form;

public:
    template<typename T> T* get(const char* name) const {
        T* control = m_form.findChild<T*>(QString::fromUtf8(name));
        Q_ASSERT_X(control, "Form1Controls", name);
        return control;
    }

    TrackBar* const Slider1 = get<TrackBar>("Slider1");
    QTabBar* const miskaart = get<QTabBar>("miskaart");
    PictureBox* const halo = get<PictureBox>("halo");
    QLabel* const halokp = get<QLabel>("halokp");
    QLabel* const quellanbk = get<QLabel>("quellanbk");
    PictureBox* const Picture4 = get<PictureBox>("Picture4");
    PictureBox* const Picture1 = get<PictureBox>("Picture1");
    PictureBox* const Picture2 = get<PictureBox>("Picture2");
    QScrollBar* const HScroll1 = get<QScrollBar>("HScroll1");
    QLabel* const wokell = get<QLabel>("wokell");
    QLabel* const millal = get<QLabel>("millal");
    QComboBox* const linn = get<QComboBox>("linn");
    PictureBox* const halograaf1 = get<PictureBox>("halograaf1");
    PictureBox* const halograaf2 = get<PictureBox>("halograaf2");
    PictureBox* const halograaf3 = get<PictureBox>("halograaf3");
    QPushButton* const Play = get<QPushButton>("Play");
    QTimer* const Timer1 = get<QTimer>("Timer1");
    QRadioButton* const märgiperiood = get<QRadioButton>("märgiperiood");
    QPushButton* const märgialgus = get<QPushButton>("märgialgus");
    QPushButton* const märgilõpp = get<QPushButton>("märgilõpp");
    QLabel* const periood = get<QLabel>("periood");
    QPushButton* const Command2 = get<QPushButton>("Command2");
    QPushButton* const nupud = get<QPushButton>("nupud");
    QProgressBar* const ProgressBar1 = get<QProgressBar>("ProgressBar1");
    // The run's line in the status bar StatusBar1.
    RunStatusLine* const runStatus = get<RunStatusLine>("runStatus");
    QPushButton* const Command1 = get<QPushButton>("Command1");
    QPushButton* const naitalegend = get<QPushButton>("naitalegend");
    QCheckBox* const quellan = get<QCheckBox>("quellan");
    QCheckBox* const pilvisus = get<QCheckBox>("pilvisus");
    QCheckBox* const temp = get<QCheckBox>("temp");
    QCheckBox* const sademed = get<QCheckBox>("sademed");
    QCheckBox* const marevo = get<QCheckBox>("marevo");
    QCheckBox* const quellanyld = get<QCheckBox>("quellanyld");
    QCheckBox* const quellan3h = get<QCheckBox>("quellan3h");
    QCheckBox* const aintmärgitud = get<QCheckBox>("aintmärgitud");
    QCheckBox* const tsekiuuendusi = get<QCheckBox>("tsekiuuendusi");
    QAction* const kustutavanad = get<QAction>("kustutavanad");
    QAction* const kustuta = get<QAction>("kustuta");
    QAction* const pakk = get<QAction>("pakk");
    QAction* const about = get<QAction>("about");
    QAction* const netilehele = get<QAction>("netilehele");
    QAction* const updeidid = get<QAction>("updeidid");
    QAction* const english = get<QAction>("english");
    const QList<SpotMarker*> Spot = m_form.findChildren<SpotMarker*>();
};

inline Form1Controls ui(const Form1& form) {
    return Form1Controls(form);
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/locale_formats.h"
#include "platform/slider_hours.h"
#include "viewer/chart_run.h"
#include "viewer/picture_box.h"

#include <QDate>
#include <QIcon>
#include <QObject>
#include <QStringList>
#include <optional>

class ChartFolderListing;
class Clock;
class InterfaceTexts;
class SailingMapPanel;
class TimeSlider;
class TrackBar;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabBar;
class QTimer;
class QWidget;

// The stored charts on the time slider: the display routine that turns a slider hour into the
// provider chart halo of the family tab miskaart, the sailing maps and the window's caption; the
// animation (Play, Timer1); and the marked period (märgiperiood, märgialgus, märgilõpp, periood).
// It makes its controls for the window, which places them.
class ChartView final : public QObject {
    Q_OBJECT
public:
    struct Services {
        QString chartFolder;
        const InterfaceTexts& texts;
        const Clock& clock;
        LocaleFormats formats;
    };

    ChartView(Services services, QWidget* window);

    // The controls to place: the family tabs over the chart, the slider, Play, the period group
    // and the sailing-map panel. Spot markers sit on markerMap().
    QWidget* chartColumn() const { return m_chartColumn; }
    QWidget* slider() const;
    QWidget* playButton() const;
    QWidget* periodGroup() const { return m_periodGroup; }
    SailingMapPanel* sailingPanel() const { return m_sailing; }
    PictureBox* markerMap() const;
    // The hour track itself, for a view that passes the slider's keys on to it.
    TrackBar* track() const { return m_track; }

    // Start-up: the slider at the current hour, the period from there to the end of the week.
    void placeSliderAtNow();
    void retranslate();
    void writePeriodLabel();

    void Slider1_Scroll();
    void Slider1_Change();
    void Play_Click();
    void Timer1_Timer();
    void märgiperiood_Click();
    void märgialgus_Click();
    void märgilõpp_Click();

    int hour() const;
    QString chartCode() const;
    // True while the placeholder stands for a chart that cannot be shown.
    bool pildilipp() const { return m_pildilipp; }
    Period markedPeriod() const;
    // The period moved by a download run, which fetches from a three-hour slot.
    void setMarkedPeriod(Period period);
    // A download run has fetched an hour: the slider shows it.
    void showFetchedHour(int hour);
    // The decoded charts and sailing maps of the hours shown lately.
    const ChartPictures& pictures() const { return m_pictures; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // The chart shown at slider hour p, of the family of `chartCode`, was double-clicked.
    void chartDoubleClicked(int p, const QString& chartCode);
    void sailingMapsDoubleClicked(int p);
    // The day labels of today and the following days, as the slider shows them.
    void dayLabelsWritten(const QStringList& texts);
    // The slider stands at another hour, moved by the user or by the program.
    void hourChanged(int p);
    // What halo now shows, the chart or the placeholder standing for it, and its name for
    // assistive tools; told for every hour shown, so a larger view of it can follow.
    void chartShown(const QImage& picture, const QString& name);

private:
    QWidget* buildChartColumn(QWidget* window);
    QWidget* buildPeriodGroup(QWidget* window);
    void buildAnimation(QWidget* window);
    void connectControls();
    void writeDayLabels();
    void showProviderChart(int p);
    void showChartRun(const QString& chartFile);
    void placeChartRun();
    std::optional<viewer::RunAge> chartAge(const QString& chartFile);
    QString storedHourText(int p);
    void chartFolderChanged();
    void refreshStoredHours();
    void followThumbWhileMarking();
    void setPeriod(Period period);
    void setAnimationRunning(bool running);
    void namePlay();
    void nameSliderHour();

    Services m_services;
    QWidget* m_window;
    ChartFolderListing* m_listing;
    ChartPictures m_pictures = makeChartPictures();
    viewer::StoredRuns m_runs;
    // The provider chart on show; empty while the placeholder stands.
    QString m_shownChart;
    QDate m_storedHoursDay;
    bool m_pildilipp = false;
    // Where the marking began: one end of the period stays there while the thumb moves.
    int m_markAnchor = 0;

    QWidget* m_chartColumn;
    QTabBar* m_families;
    QLabel* m_chartDownloaded;
    QLabel* m_chartRun;
    PictureBox* m_chart;
    QLabel* m_placeholder;
    QImage m_placeholderPicture;
    TimeSlider* m_slider;
    TrackBar* m_track;
    QPushButton* m_play;
    QPushButton* m_playPictures;
    QTimer* m_animation;
    QWidget* m_periodGroup;
    QRadioButton* m_marking;
    QPushButton* m_markStart;
    QPushButton* m_markEnd;
    QLabel* m_period;
    SailingMapPanel* m_sailing;
};

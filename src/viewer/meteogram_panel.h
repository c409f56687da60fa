// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "viewer/chart_display.h"

#include <QPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>
#include <optional>
#include <qcoro/qcorotask.h>

class Clock;
class InterfaceTexts;
class MeteogramWindow;
class PictureBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QTimer;
class QVBoxLayout;

// The chosen place's meteograms: Picture10 with the three days' meteograms halograaf1..3, their
// day labels hlabel(0..2), hour strips and scale, and beside it the city box lblLinn/linn with the
// spot progress bar prgQuellan. A double-click on a meteogram asks for every spot's; a single
// click opens it at its own size in a window that follows the city and the slider's day.
class MeteogramPanel final : public QWidget {
    Q_OBJECT
public:
    static constexpr int Days = viewer::MeteogramDays;

    MeteogramPanel(QString chartFolder, const InterfaceTexts& texts, const Clock& clock,
                   QWidget* parent = nullptr);

    // The spots' names in file order; nothing is chosen until restoreCity().
    void setSpots(const QStringList& names);
    QStringList spots() const;
    // A kept city the list does not hold leaves the list as it is; without a kept city the
    // fallback is chosen when the list has it, and nothing otherwise.
    void restoreCity(const std::optional<QString>& kept, const QString& fallback);
    QString city() const;
    // Pointing at a spot's marker chooses it.
    void pointAt(const QString& spotName);
    // A spot's meteograms were fetched: they are shown, the spot chosen.
    void showFetchedSpot(const QString& spotName);

    // Places a widget in the column of the city box, under it.
    void addBelowCity(QWidget* widget);
    void setDayLabels(const QStringList& texts);
    void retranslate(const InterfaceTexts& texts);

    void spotsStarted(int count);
    void spotFetched(int index);
    void spotsEnded();

    // The slider moved: an open meteogram window keeps its distance from the slider's day.
    void followSliderHour(int p);
    void closeMeteogramWindow();

    QCoro::Task<> halograafikud();

Q_SIGNALS:
    void doubleClicked();

private:
    QWidget* buildCityColumn();
    QWidget* buildMeteograms();
    bool selectCity(const QString& name);
    void nameMeteograms();
    QString meteogramFile(const QDate& date) const;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void openMeteogramWindow(int day);
    void showWindowDay();

    QString m_chartFolder;
    const InterfaceTexts& m_texts;
    const Clock& m_clock;
    QVBoxLayout* m_cityColumn;
    QLabel* m_cityLabel;
    QComboBox* m_city;
    QProgressBar* m_progress;
    QVector<PictureBox*> m_meteograms;
    QVector<QLabel*> m_dayLabels;
    QVector<QLabel*> m_hourStrips;
    QLabel* m_scale = nullptr;
    // A click opens its meteogram's window only once it has not become a double-click.
    QTimer* m_singleClick;
    int m_clickedDay = 0;
    int m_sliderDay = 0;
    // The window's day less the slider's.
    int m_windowOffset = 0;
    QPointer<MeteogramWindow> m_window;
};

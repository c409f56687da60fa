// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/locale_formats.h"
#include "viewer/picture_box.h"

#include <QDate>
#include <QWidget>

class InterfaceTexts;
class QLabel;
class QScrollBar;

// The sailing site's two maps of a three-hour slot: Picture4 holding the island map Picture2 and
// the mainland map Picture1, drawn to overlap, with the scroll bar HScroll1 along its bottom and
// the valid time wokell and the download time millal in the corner the maps leave free. A double-click on it
// asks for the slot's maps.
class SailingMapPanel final : public QWidget {
    Q_OBJECT
public:
    // The maps are taken from `pictures`, which the chart view shares.
    SailingMapPanel(QString chartFolder, const InterfaceTexts& texts, LocaleFormats formats,
                    ChartPictures& pictures, QWidget* parent = nullptr);

    // The maps are drawn at their own size in a panel of its minimum size, which should be the room
    // the panel has in the window at its minimum size.
    void setMinimumPanelSize(const QSize& size);
    void showMaps(const QDate& today, int p);
    void retranslate(const InterfaceTexts& texts);

    void HScroll1_Scroll();
    void Picture4_Resize();

Q_SIGNALS:
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLabels();
    QWidget* buildMaps();
    std::optional<QDateTime> showMap(PictureBox* map, const QString& path);
    int scaled(int length) const;

    QString m_chartFolder;
    const InterfaceTexts& m_texts;
    LocaleFormats m_formats;
    ChartPictures& m_pictures;
    QLabel* m_validTime;
    QLabel* m_downloaded;
    PictureBox* m_panel;
    PictureBox* m_mainland;
    PictureBox* m_islands;
    QScrollBar* m_scroll;
    double m_pairScale = 1;
};

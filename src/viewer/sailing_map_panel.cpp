// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/sailing_map_panel.h"

#include "net/chart_names.h"
#include "settings/interface_texts.h"
#include "viewer/chart_display.h"
#include "viewer/display_texts.h"
#include "viewer/picture_box.h"
#include "viewer/picture_zoom.h"

#include <QEvent>
#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

// The maps are drawn for these sizes, the mainland map this far right of the island map and
// this much higher.
constexpr QSize IslandMapSize(387, 263);
constexpr QSize MainlandMapSize(395, 269);
constexpr int Spacing = 320;
constexpr int Rise = 76;
constexpr int PairWidth = Spacing + MainlandMapSize.width();
// Wide enough for the whole pair: neither map is ever cut off, and the scroll bar only comes into
// play for a pair drawn wider than the panel.
constexpr QSize MinimumPanelSize(PairWidth, 356);
// The corner left of the mainland map and above the island map holds the two time labels.
constexpr QRect ValidTimePlace(6, 6, Spacing - 12, 18);
constexpr QRect DownloadTimePlace(6, 28, Spacing - 12, 18);

PictureBox* mapPicture(const QString& name, const QSize& size, QWidget* parent) {
    auto* map = new PictureBox(parent);
    map->setObjectName(name);
    map->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    map->setZoomable(true);
    map->resize(size);
    return map;
}

} // namespace

SailingMapPanel::SailingMapPanel(QString chartFolder, const InterfaceTexts& texts, LocaleFormats formats,
                                 ChartPictures& pictures, QWidget* parent)
    : QWidget(parent), m_chartFolder(std::move(chartFolder)), m_texts(texts), m_formats(std::move(formats)),
      m_pictures(pictures) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildMaps(), 1);
    buildLabels();
}

// Fixed places of their own: a time that changes moves nothing, and a double-click on them is one
// on the panel.
void SailingMapPanel::buildLabels() {
    m_validTime = new QLabel(m_panel);
    m_validTime->setObjectName(QStringLiteral("wokell"));
    m_validTime->setGeometry(ValidTimePlace);
    m_downloaded = new QLabel(QStringLiteral("Kaart laetud"), m_panel);
    m_downloaded->setObjectName(QStringLiteral("millal"));
    m_downloaded->setGeometry(DownloadTimePlace);
    for (QLabel* label : {m_validTime, m_downloaded}) {
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

QWidget* SailingMapPanel::buildMaps() {
    m_panel = new PictureBox(this);
    m_panel->setObjectName(QStringLiteral("Picture4"));
    m_panel->setMinimumSize(MinimumPanelSize);
    m_panel->setAutoFillBackground(true);
    m_islands = mapPicture(QStringLiteral("Picture2"), IslandMapSize, m_panel);
    m_islands->move(0, Rise);
    m_mainland = mapPicture(QStringLiteral("Picture1"), MainlandMapSize, m_panel);
    m_mainland->move(Spacing, 0);
    m_scroll = new QScrollBar(Qt::Horizontal, m_panel);
    m_scroll->setObjectName(QStringLiteral("HScroll1"));
    // Its arrow keys are the only way to move the maps without a mouse.
    m_scroll->setFocusPolicy(Qt::StrongFocus);
    m_scroll->resize(MinimumPanelSize.width(), m_scroll->sizeHint().height());
    for (PictureBox* picture : {m_panel, m_islands, m_mainland}) {
        connect(picture, &PictureBox::doubleClicked, this, &SailingMapPanel::doubleClicked);
    }
    connect(m_scroll, &QScrollBar::valueChanged, this, &SailingMapPanel::HScroll1_Scroll);
    m_panel->installEventFilter(this);
    Picture4_Resize();
    return m_panel;
}

void SailingMapPanel::setMinimumPanelSize(const QSize& size) {
    m_panel->setMinimumSize(size.expandedTo(MinimumPanelSize));
    Picture4_Resize();
}

void SailingMapPanel::showMaps(const QDate& today, int p) {
    const viewer::SailingMaps maps = viewer::sailingMapsAt(m_formats, today, p);
    m_validTime->setText(maps.label);
    const std::optional<QDateTime> mainland =
        showMap(m_mainland, chartPath(m_chartFolder, maps.mainlandFile));
    showMap(m_islands, chartPath(m_chartFolder, maps.islandsFile));
    m_downloaded->setText(mainland ? viewer::downloadTimeText(m_texts, m_formats, *mainland) : QString());
    const SailingMap slot = sailingMap(QUrl(), today, p, MainlandMapCode);
    m_mainland->setAccessibleName(
        viewer::pictureOfMomentName(m_texts, "accmainland", slot.validDate, slot.validHour));
    m_islands->setAccessibleName(
        viewer::pictureOfMomentName(m_texts, "accislands", slot.validDate, slot.validHour));
}

// Shows a stored map; the moment its file was written, or nothing when there is none to show.
std::optional<QDateTime> SailingMapPanel::showMap(PictureBox* map, const QString& path) {
    const std::optional<ChartPictures::Shown> shown = m_pictures.picture(path);
    map->setVisible(shown.has_value());
    if (!shown) {
        return std::nullopt;
    }
    map->showPicture(shown->picture);
    return shown->modified;
}

void SailingMapPanel::retranslate(const InterfaceTexts& texts) {
    for (PictureBox* picture : {m_panel, m_islands, m_mainland}) {
        picture->setToolTip(texts.keeltekst(QStringLiteral("tooltipcurrentmap")));
    }
    m_panel->setAccessibleName(texts.keeltekst(QStringLiteral("accsailing")));
    m_scroll->setAccessibleName(texts.keeltekst(QStringLiteral("accsailingscroll")));
}

// The value of the scroll bar is where the island map's left edge stands; the mainland map keeps
// its distance to the right.
void SailingMapPanel::HScroll1_Scroll() {
    m_islands->move(m_scroll->value(), m_islands->y());
    m_mainland->move(m_islands->x() + scaled(Spacing), m_mainland->y());
}

int SailingMapPanel::scaled(int length) const {
    return viewer::scaledLength(length, m_pairScale);
}

// The panel grows with the window: the pair grows by the least of the factors its room above the
// scroll bar grew by, across and down, since the panel's minimum size; and the scroll range follows, so the
// pair can always be scrolled from its left edge to its right one.
void SailingMapPanel::Picture4_Resize() {
    m_scroll->setGeometry(0, m_panel->height() - m_scroll->height(), m_panel->width(), m_scroll->height());
    const QSize least = m_panel->minimumSize();
    m_pairScale = viewer::grownScale(QSizeF(least.width(), least.height() - m_scroll->height()),
                                     QSizeF(m_panel->width(), m_scroll->y()));
    m_islands->setGeometry(m_islands->x(), scaled(Rise), scaled(IslandMapSize.width()),
                           scaled(IslandMapSize.height()));
    m_mainland->resize(scaled(MainlandMapSize.width()), scaled(MainlandMapSize.height()));
    m_scroll->setRange(std::min(0, m_panel->width() - scaled(Spacing) - m_mainland->width()), 0);
    HScroll1_Scroll();
    m_scroll->setSingleStep(10);
    m_scroll->setPageStep(std::max(10, m_panel->width() / 2));
}

bool SailingMapPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_panel && event->type() == QEvent::Resize) {
        Picture4_Resize();
    }
    return QWidget::eventFilter(watched, event);
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/full_screen_chart.h"

#include "settings/interface_texts.h"
#include "viewer/chart_view.h"
#include "viewer/picture_box.h"
#include "viewer/time_slider.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>

namespace {

// The labels lie on the chart, readable on any of its colours.
const auto LabelStyle = QStringLiteral("color: white; background: rgba(0, 0, 0, 170); padding: 4px 8px;");

bool isSliderKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

QLabel* overlayLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setStyleSheet(LabelStyle);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

} // namespace

FullScreenChart::FullScreenChart(ChartView& view, const InterfaceTexts& texts, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), m_view(view), m_texts(texts), m_mainWindow(mainWindow) {
    setObjectName(QStringLiteral("fullScreenChart"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setStyleSheet(QStringLiteral("FullScreenChart { background: black; }"));
    setAttribute(Qt::WA_StyledBackground);
    m_picture = new PictureBox(this);
    m_picture->setObjectName(QStringLiteral("fullScreenPicture"));
    m_picture->setAlignment(Qt::AlignCenter);
    // As large as the screen, and as close as the chart in the window: its zoom keys and wheel too.
    m_picture->setZoomable(true);
    m_picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    m_caption = overlayLabel(QStringLiteral("fullScreenCaption"), this);
    // Read from across the room, as the chart is.
    QFont large = m_caption->font();
    large.setPointSizeF(large.pointSizeF() * 1.5);
    m_caption->setFont(large);
    m_keys = overlayLabel(QStringLiteral("fullScreenKeys"), this);
    // The labels share the picture's cell, each in a corner of it, and lie over it.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_picture, 0, 0);
    layout->addWidget(m_caption, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    layout->addWidget(m_keys, 0, 0, Qt::AlignBottom | Qt::AlignRight);
    connect(&m_view, &ChartView::chartShown, this, &FullScreenChart::showChart);
}

void FullScreenChart::open() {
    setGeometry(m_mainWindow->screen()->geometry());
    showFullScreen();
    raise();
    activateWindow();
    setFocus();
    // The display routine tells the hour on show again, now to this view too.
    m_view.Slider1_Scroll();
}

void FullScreenChart::showChart(const QImage& picture, const QString& name) {
    m_picture->showPicture(picture);
    m_picture->setAccessibleName(name);
    setAccessibleName(name);
    setWindowTitle(name);
    m_caption->setText(name);
    m_keys->setText(m_texts.keeltekst(QStringLiteral("fullscreenkeys")));
}

// The slider takes its own keys as if it had the focus, so a step here is a step of the slider
// in every way: the chart, the sailing maps, the caption and a marking all follow.
void FullScreenChart::keyPressEvent(QKeyEvent* event) {
    if (isSliderKey(event->key())) {
        QCoreApplication::sendEvent(m_view.track(), event);
    } else if (event->key() == Qt::Key_Space) {
        // A key held down would start and stop the animation over and over.
        if (!event->isAutoRepeat()) {
            m_view.Play_Click();
        }
    } else if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_F11) {
        close();
    } else {
        QWidget::keyPressEvent(event);
    }
}

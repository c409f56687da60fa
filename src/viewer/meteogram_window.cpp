// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/meteogram_window.h"

#include "platform/escape_closes.h"

#include <QLabel>
#include <QVBoxLayout>

MeteogramWindow::MeteogramWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("meteogramWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    closeOnEscape(this);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("meteogramCaption"));
    m_caption->setTextFormat(Qt::PlainText);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("meteogramPicture"));
    m_picture->setTextFormat(Qt::PlainText);
    m_picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_caption);
    layout->addWidget(m_picture);
}

// The window takes the size of what it shows: the meteograms of the days differ in width.
void MeteogramWindow::showMeteogram(const QString& name, const std::optional<QPixmap>& picture,
                                    const QString& missing) {
    setWindowTitle(name);
    setAccessibleName(name);
    m_caption->setText(name);
    m_picture->setAccessibleName(picture ? name : missing);
    if (picture) {
        m_picture->setPixmap(*picture);
    } else {
        m_picture->setText(missing);
    }
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/picture_pair.h"

#include <QPushButton>

QIcon resourceIcon(const QString& fileName) {
    return QIcon(QStringLiteral(":/data/pictures/") + fileName);
}

QPushButton* makePicturePair(const QString& name, const QIcon& normal, const QIcon& other, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    QIcon pair;
    for (const QSize& size : normal.availableSizes()) {
        pair.addPixmap(normal.pixmap(size), QIcon::Normal);
    }
    for (const QSize& size : other.availableSizes()) {
        pair.addPixmap(other.pixmap(size), QIcon::Disabled);
    }
    button->setIcon(pair);
    button->hide();
    return button;
}

QIcon pictureOf(const QPushButton* pair, QSize size, QIcon::Mode mode) {
    return QIcon(pair->icon().pixmap(size, mode));
}

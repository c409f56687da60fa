// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

class QPushButton;
class QWidget;

// One of the program's own pictures, shipped as a resource.
QIcon resourceIcon(const QString& fileName);

// A hidden button whose only role is to hold a pair of pictures, the normal one and the one for
// the other state (stopped, running); a visible button shows one of the two.
QPushButton* makePicturePair(const QString& name, const QIcon& normal, const QIcon& other, QWidget* parent);
// The pair's normal picture, or with QIcon::Disabled its other one, at a size.
QIcon pictureOf(const QPushButton* pair, QSize size, QIcon::Mode mode);

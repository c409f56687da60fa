// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QImage>

namespace demo {

// The picture as a GIF89a file; empty when it cannot be encoded. Qt reads GIF but cannot write
// it, so giflib does the writing after Qt has cut the colours down to one palette.
QByteArray encodeGif(const QImage& image);

} // namespace demo

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArrayView>

// What a stored or received picture is, judged from its bytes without decoding it: a picture
// decoder shows whatever part of a GIF arrived, so a file cut short would pass for a chart with its
// lower part missing, and it allocates whatever size a header claims.
enum class PictureVerdict {
    Whole,
    CutShort, // its blocks end before its trailer (a GIF), its end chunk (a PNG) or its end marker (a JPEG)
    TooLarge, // it claims more than LargestPictureSide pixels on a side
    NotAPicture, // no GIF, PNG or JPEG signature
};

// Charts, maps and meteograms are far smaller; a picture that claims more is a bomb.
inline constexpr int LargestPictureSide = 4096;

PictureVerdict judgePicture(QByteArrayView bytes);

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The picture check on any bytes: it reads none beyond them, a picture it calls whole stays whole
// with anything after its end, and what it calls whole never makes a decoder allocate a side larger
// than LargestPictureSide.

#include "platform/picture_check.h"

#include "fuzz_support.h"

#include <QBuffer>
#include <QImageReader>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool silenced = (fuzz::silenceWarnings(), true);
    Q_UNUSED(silenced);
    QByteArray bytes = fuzz::bytes(data, size);
    if (judgePicture(bytes) != PictureVerdict::Whole) {
        return 0;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize claimed = QImageReader(&buffer).size();
    FUZZ_CHECK(!claimed.isValid() ||
               (claimed.width() <= LargestPictureSide && claimed.height() <= LargestPictureSide));
    FUZZ_CHECK(judgePicture(bytes + QByteArray("after the end")) == PictureVerdict::Whole);
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/picture_check.h"

namespace {

quint8 byteAt(QByteArrayView bytes, qsizetype at) {
    return static_cast<quint8>(bytes[at]);
}

quint32 littleEndian16(QByteArrayView bytes, qsizetype at) {
    return byteAt(bytes, at) | quint32(byteAt(bytes, at + 1)) << 8;
}

quint32 bigEndian16(QByteArrayView bytes, qsizetype at) {
    return quint32(byteAt(bytes, at)) << 8 | byteAt(bytes, at + 1);
}

quint32 bigEndian32(QByteArrayView bytes, qsizetype at) {
    return bigEndian16(bytes, at) << 16 | bigEndian16(bytes, at + 2);
}

// A size a decoder would allocate for: nothing for an empty side, which no decoder shows.
PictureVerdict judgeSize(quint32 width, quint32 height) {
    if (width == 0 || height == 0) {
        return PictureVerdict::NotAPicture;
    }
    return width > LargestPictureSide || height > LargestPictureSide ? PictureVerdict::TooLarge
                                                                     : PictureVerdict::Whole;
}

namespace gif {

constexpr qsizetype HeaderSize = 6;
constexpr qsizetype ScreenDescriptorSize = 7;
constexpr qsizetype ImageDescriptorSize = 9;
constexpr quint8 ExtensionIntroducer = 0x21;
constexpr quint8 ImageSeparator = 0x2C;
constexpr quint8 Trailer = 0x3B;

// The size of the colour table that a descriptor's packed field announces, 0 when there is none.
qsizetype colourTableSize(quint8 packed) {
    return (packed & 0x80) ? 3 * (qsizetype(1) << ((packed & 0x07) + 1)) : 0;
}

// Where the chain of data sub-blocks starting at `at` ends, after its empty terminator; beyond
// the end of the bytes when the chain runs past them.
qsizetype afterSubBlocks(QByteArrayView bytes, qsizetype at) {
    while (at < bytes.size()) {
        const quint8 length = byteAt(bytes, at);
        at += 1 + length;
        if (length == 0) {
            return at;
        }
    }
    return bytes.size() + 1;
}

// A decoder draws each image onto a canvas as large as the screen and the image's far corner, so
// both are bounded.
PictureVerdict judgeImage(QByteArrayView bytes, qsizetype descriptor) {
    const quint32 right = littleEndian16(bytes, descriptor) + littleEndian16(bytes, descriptor + 4);
    const quint32 bottom = littleEndian16(bytes, descriptor + 2) + littleEndian16(bytes, descriptor + 6);
    return right > LargestPictureSide || bottom > LargestPictureSide ? PictureVerdict::TooLarge
                                                                     : PictureVerdict::Whole;
}

// Walks the blocks to the trailer; bytes after it are left alone.
PictureVerdict judge(QByteArrayView bytes) {
    if (bytes.size() < HeaderSize + ScreenDescriptorSize) {
        return PictureVerdict::CutShort;
    }
    if (littleEndian16(bytes, HeaderSize) > LargestPictureSide ||
        littleEndian16(bytes, HeaderSize + 2) > LargestPictureSide) {
        return PictureVerdict::TooLarge;
    }
    qsizetype at = HeaderSize + ScreenDescriptorSize + colourTableSize(byteAt(bytes, HeaderSize + 4));
    while (at < bytes.size()) {
        const quint8 block = byteAt(bytes, at++);
        if (block == Trailer) {
            return PictureVerdict::Whole;
        }
        if (block == ExtensionIntroducer) {
            at = afterSubBlocks(bytes, at + 1); // after the extension's label
        } else if (block == ImageSeparator) {
            if (at + ImageDescriptorSize > bytes.size()) {
                return PictureVerdict::CutShort;
            }
            if (judgeImage(bytes, at) != PictureVerdict::Whole) {
                return PictureVerdict::TooLarge;
            }
            const qsizetype minimumCodeSize = 1;
            at += ImageDescriptorSize + colourTableSize(byteAt(bytes, at + ImageDescriptorSize - 1)) +
                  minimumCodeSize;
            at = afterSubBlocks(bytes, at);
        } else {
            return PictureVerdict::NotAPicture;
        }
    }
    return PictureVerdict::CutShort;
}

} // namespace gif

namespace png {

constexpr QByteArrayView Signature("\x89PNG\r\n\x1a\n");
constexpr qsizetype ChunkFrame = 12; // length, type, and the checksum after the data
constexpr quint32 HeaderLength = 13;
constexpr quint32 LongestChunk = 0x7fffffff;

// The header chunk comes first and gives the size; the chunks run to the end chunk.
PictureVerdict judge(QByteArrayView bytes) {
    qsizetype at = Signature.size();
    bool first = true;
    while (at + 8 <= bytes.size()) {
        const quint32 length = bigEndian32(bytes, at);
        const QByteArrayView type = bytes.sliced(at + 4, 4);
        if (length > LongestChunk || (first && (type != "IHDR" || length != HeaderLength))) {
            return PictureVerdict::NotAPicture;
        }
        const qsizetype next = at + ChunkFrame + length;
        if (first) {
            if (at + 8 + 8 > bytes.size()) {
                return PictureVerdict::CutShort;
            }
            const PictureVerdict size = judgeSize(bigEndian32(bytes, at + 8), bigEndian32(bytes, at + 12));
            if (size != PictureVerdict::Whole) {
                return size;
            }
            first = false;
        }
        if (type == "IEND") {
            return next <= bytes.size() ? PictureVerdict::Whole : PictureVerdict::CutShort;
        }
        at = next;
    }
    return PictureVerdict::CutShort;
}

} // namespace png

namespace jpeg {

constexpr QByteArrayView Signature("\xff\xd8\xff");
constexpr quint8 Fill = 0xff;
constexpr quint8 EndOfImage = 0xd9;
constexpr quint8 StartOfScan = 0xda;

bool isRestart(quint8 code) {
    return code >= 0xd0 && code <= 0xd7;
}

bool standsAlone(quint8 code) {
    return isRestart(code) || code == 0x01;
}

// SOF0 to SOF15, less the three codes of that range that are tables.
bool isStartOfFrame(quint8 code) {
    return code >= 0xc0 && code <= 0xcf && code != 0xc4 && code != 0xc8 && code != 0xcc;
}

// Where the marker after a scan's coded data begins; -1 when the bytes end first. Inside the data
// a 0xff is followed by 0x00 (a stuffed byte) or a restart marker.
qsizetype afterCodedData(QByteArrayView bytes, qsizetype at) {
    for (;;) {
        at = bytes.indexOf(char(Fill), at);
        if (at < 0 || at + 1 >= bytes.size()) {
            return -1;
        }
        const quint8 next = byteAt(bytes, at + 1);
        if (next != 0x00 && !isRestart(next)) {
            return at;
        }
        at += 2;
    }
}

// Walks the segments to the end marker, reading the size from the frame header on the way.
PictureVerdict judge(QByteArrayView bytes) {
    qsizetype at = 2;
    bool sized = false;
    for (;;) {
        if (at >= bytes.size()) {
            return PictureVerdict::CutShort;
        }
        if (byteAt(bytes, at) != Fill) {
            return PictureVerdict::NotAPicture;
        }
        while (at < bytes.size() && byteAt(bytes, at) == Fill) {
            ++at;
        }
        if (at >= bytes.size()) {
            return PictureVerdict::CutShort;
        }
        const quint8 code = byteAt(bytes, at++);
        if (code == EndOfImage) {
            return sized ? PictureVerdict::Whole : PictureVerdict::NotAPicture;
        }
        if (standsAlone(code)) {
            continue;
        }
        if (at + 2 > bytes.size()) {
            return PictureVerdict::CutShort;
        }
        const quint32 length = bigEndian16(bytes, at);
        if (length < 2 || (isStartOfFrame(code) && length < 7) || (code == StartOfScan && !sized)) {
            return PictureVerdict::NotAPicture;
        }
        if (at + length > bytes.size()) {
            return PictureVerdict::CutShort;
        }
        if (isStartOfFrame(code)) {
            const PictureVerdict size = judgeSize(bigEndian16(bytes, at + 5), bigEndian16(bytes, at + 3));
            if (size != PictureVerdict::Whole) {
                return size;
            }
            sized = true;
        }
        at += length;
        if (code == StartOfScan) {
            at = afterCodedData(bytes, at);
            if (at < 0) {
                return PictureVerdict::CutShort;
            }
        }
    }
}

} // namespace jpeg

} // namespace

PictureVerdict judgePicture(QByteArrayView bytes) {
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a")) {
        return gif::judge(bytes);
    }
    if (bytes.startsWith(png::Signature)) {
        return png::judge(bytes);
    }
    if (bytes.startsWith(jpeg::Signature)) {
        return jpeg::judge(bytes);
    }
    return PictureVerdict::NotAPicture;
}

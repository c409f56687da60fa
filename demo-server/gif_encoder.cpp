// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "gif_encoder.h"

#include <gif_lib.h>
#include <memory>
#include <vector>

namespace demo {

namespace {

int appendToBuffer(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

struct ColorMapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, ColorMapDeleter>;

// giflib wants a palette whose size is a power of two; the unused entries stay black.
ColorMap paletteOf(const QImage& indexed) {
    const QList<QRgb> colors = indexed.colorTable();
    int size = 2;
    while (size < colors.size()) {
        size *= 2;
    }
    std::vector<GifColorType> entries(size_t(size), GifColorType{0, 0, 0});
    for (qsizetype i = 0; i < colors.size(); ++i) {
        entries[size_t(i)] = GifColorType{GifByteType(qRed(colors[i])), GifByteType(qGreen(colors[i])),
                                          GifByteType(qBlue(colors[i]))};
    }
    return ColorMap(GifMakeMapObject(size, entries.data()));
}

bool writeFrame(GifFileType* gif, QImage& indexed, const ColorMapObject* palette) {
    if (EGifPutScreenDesc(gif, indexed.width(), indexed.height(), palette->BitsPerPixel, 0, palette) !=
            GIF_OK ||
        EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) != GIF_OK) {
        return false;
    }
    for (int y = 0; y < indexed.height(); ++y) {
        if (EGifPutLine(gif, indexed.scanLine(y), indexed.width()) != GIF_OK) {
            return false;
        }
    }
    return true;
}

} // namespace

QByteArray encodeGif(const QImage& image) {
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    const ColorMap palette = paletteOf(indexed);
    if (indexed.isNull() || !palette) {
        return {};
    }
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, appendToBuffer, &error);
    if (!gif) {
        return {};
    }
    EGifSetGifVersion(gif, true);
    const bool written = writeFrame(gif, indexed, palette.get());
    const bool closed = EGifCloseFile(gif, &error) == GIF_OK;
    return written && closed ? bytes : QByteArray();
}

} // namespace demo

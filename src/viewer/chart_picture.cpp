#include "viewer/chart_picture.h"

namespace viewer {
namespace {

constexpr qsizetype HeaderSize = 6;
constexpr qsizetype ScreenDescriptorSize = 7;
constexpr qsizetype ImageDescriptorSize = 9;
constexpr char ExtensionIntroducer = 0x21;
constexpr char ImageSeparator = 0x2C;
constexpr char Trailer = 0x3B;

// The size of the colour table that a descriptor's packed field announces, 0 when there is none.
qsizetype colourTableSize(char packed) {
    const auto flags = static_cast<unsigned char>(packed);
    return (flags & 0x80) ? 3 * (qsizetype(1) << ((flags & 0x07) + 1)) : 0;
}

// Where the chain of data sub-blocks starting at `at` ends, after its empty terminator; beyond
// the end of the bytes when the chain runs past them.
qsizetype afterSubBlocks(const QByteArray& bytes, qsizetype at) {
    while (at < bytes.size()) {
        const auto length = static_cast<unsigned char>(bytes[at]);
        at += 1 + length;
        if (length == 0) {
            return at;
        }
    }
    return bytes.size() + 1;
}

} // namespace

bool isCutShortGif(const QByteArray& bytes) {
    if (!bytes.startsWith("GIF87a") && !bytes.startsWith("GIF89a")) {
        return false;
    }
    if (bytes.size() < HeaderSize + ScreenDescriptorSize) {
        return true;
    }
    qsizetype at = HeaderSize + ScreenDescriptorSize + colourTableSize(bytes[HeaderSize + 4]);
    while (at < bytes.size()) {
        const char block = bytes[at++];
        if (block == Trailer) {
            return false;
        }
        if (block == ExtensionIntroducer) {
            at = afterSubBlocks(bytes, at + 1);
        } else if (block == ImageSeparator && at + ImageDescriptorSize <= bytes.size()) {
            const qsizetype minimumCodeSize = 1;
            at +=
                ImageDescriptorSize + colourTableSize(bytes[at + ImageDescriptorSize - 1]) + minimumCodeSize;
            at = afterSubBlocks(bytes, at);
        } else {
            return true;
        }
    }
    return true;
}

} // namespace viewer

#include "viewer/picture_box.h"

#include "platform/picture_check.h"
#include "platform/stored_files.h"

#include <QMouseEvent>
#include <array>

namespace {

// Judged before it is decoded: the decoder would show a cut file as far as it goes and allocate
// whatever size a header claims.
std::optional<QImage> decodeWholePicture(const QByteArray& bytes) {
    QImage picture;
    if (judgePicture(bytes) != PictureVerdict::Whole || !picture.loadFromData(bytes)) {
        return std::nullopt;
    }
    return picture;
}

// The colours of a picture of at most 256 of them, each with its index; an open hash, as the
// picture's runs make most lookups the colour just seen.
class ColourTable final {
public:
    // The colour's index; nothing once a 257th colour is asked for.
    std::optional<uchar> indexOf(QRgb colour) {
        quint32 slot = (colour * 2654435761U) >> (32 - SlotBits);
        while (m_used[slot]) {
            if (m_colours[slot] == colour) {
                return m_indexes[slot];
            }
            slot = (slot + 1) % Slots;
        }
        if (m_table.size() == 256) {
            return std::nullopt;
        }
        m_used[slot] = true;
        m_colours[slot] = colour;
        m_indexes[slot] = static_cast<uchar>(m_table.size());
        m_table.append(colour);
        return m_indexes[slot];
    }
    const QList<QRgb>& table() const { return m_table; }

private:
    static constexpr int SlotBits = 10;
    static constexpr quint32 Slots = 1U << SlotBits;
    std::array<bool, Slots> m_used{};
    std::array<QRgb, Slots> m_colours{};
    std::array<uchar, Slots> m_indexes{};
    QList<QRgb> m_table;
};

// The picture in 8 bits a pixel with the very colours it has; nothing for one of more than 256
// colours (a photograph-like PNG or JPEG), which stays as it was decoded. The decoder gives a GIF
// as 32-bit pixels.
std::optional<QImage> indexedCopy(const QImage& picture) {
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32) {
        return std::nullopt;
    }
    const int width = picture.width();
    const int height = picture.height();
    QImage indexed(picture.size(), QImage::Format_Indexed8);
    ColourTable colours;
    QRgb last = *reinterpret_cast<const QRgb*>(picture.constScanLine(0));
    std::optional<uchar> index = colours.indexOf(last);
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        uchar* to = indexed.scanLine(y);
        for (int x = 0; x < width; ++x) {
            if (from[x] != last) {
                last = from[x];
                index = colours.indexOf(last);
                if (!index) {
                    return std::nullopt;
                }
            }
            to[x] = *index;
        }
    }
    indexed.setColorTable(colours.table());
    return indexed;
}

std::optional<QImage> decodeCompactPicture(const QByteArray& bytes) {
    std::optional<QImage> picture = decodeWholePicture(bytes);
    if (picture) {
        if (std::optional<QImage> indexed = indexedCopy(*picture)) {
            return indexed;
        }
    }
    return picture;
}

qint64 bytesOf(const QImage& picture) {
    return picture.sizeInBytes() + picture.colorCount() * qint64(sizeof(QRgb));
}

} // namespace

std::optional<QPixmap> loadChartPicture(const QString& path) {
    const Expected<QByteArray> bytes = readRegularFile(path, LargestPictureFile);
    const std::optional<QImage> picture = bytes ? decodeWholePicture(*bytes) : std::nullopt;
    if (!picture) {
        return std::nullopt;
    }
    return QPixmap::fromImage(*picture);
}

ChartPictures makeChartPictures(qint64 budget) {
    return ChartPictures(budget, decodeCompactPicture, bytesOf);
}

// The label's own pixmap is asked too, so a pixmap set some other way (the placeholder) is
// replaced.
void PictureBox::showPicture(const QImage& picture) {
    if (picture.cacheKey() == m_pictureShown && pixmap().cacheKey() == m_pixmapShown) {
        return;
    }
    setPixmap(QPixmap::fromImage(picture));
    m_pictureShown = picture.cacheKey();
    m_pixmapShown = pixmap().cacheKey();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QLabel::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    Q_EMIT doubleClicked();
}

#pragma once

#include "viewer/recent_pictures.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <optional>

// A stored chart, meteogram or wave map as a picture; nothing for a missing file, anything but a
// regular file, one that is no picture (an error page saved under a chart's name), one cut short
// and one that claims a size no chart has.
std::optional<QPixmap> loadChartPicture(const QString& path);

// The charts and maps the slider shows, decoded once while their files stay as they are. They are
// kept in 8 bits a pixel, as a GIF stores them (a quarter of their size as 32-bit pixels), so that
// a week of one family's charts and the sailing maps, about 52 MB, fits the budget.
using ChartPictures = RecentPictures<QImage>;
inline constexpr qint64 ChartPicturesBudget = 64 * 1024 * 1024;
ChartPictures makeChartPictures(qint64 budget = ChartPicturesBudget);

// A picture that answers a double-click: the chart pictures fetch what they show, the meteograms
// fetch every spot's.
class PictureBox final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Shows a decoded picture. Its pixmap is made only when it is not the one shown already: a
    // sailing map stays for three hours of the slider, a chart for the hours it stands in for.
    void showPicture(const QImage& picture);

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    qint64 m_pictureShown = 0;
    qint64 m_pixmapShown = 0;
};

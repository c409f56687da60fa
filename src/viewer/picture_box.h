#pragma once

#include <QDateTime>
#include <QLabel>
#include <QPixmap>
#include <optional>

// A stored chart, meteogram or wave map as a picture; nothing for a missing file, anything but a
// regular file, one that is no picture (an error page saved under a chart's name), one cut short
// and one that claims a size no chart has.
std::optional<QPixmap> loadChartPicture(const QString& path);

// A stored chart and the moment its file was written, or nothing when either cannot be had.
struct StoredChart {
    QPixmap pixmap;
    QDateTime modified;
};
std::optional<StoredChart> loadStoredChart(const QString& path);

// A picture that answers a double-click: the chart pictures fetch what they show, the meteograms
// fetch every spot's.
class PictureBox final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

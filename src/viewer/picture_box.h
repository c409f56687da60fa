#pragma once

#include <QLabel>

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

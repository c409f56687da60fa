#pragma once

#include <QLabel>
#include <QString>

// The run's line in the status bar: where a run has got to while it goes, then what the last run
// did until the next one starts. A text too long for the line is cut with an ellipsis and shown
// whole in the tooltip, which also lists the files that failed; a click shows the tooltip at once.
// No text changes the line's size, so nothing around it moves.
class RunStatusLine final : public QLabel {
    Q_OBJECT
public:
    // `roomBelow` is kept free under the text for the progress bar that lies over the status bar.
    RunStatusLine(int roomBelow, QWidget* parent);

    void showProgress(const QString& text);
    // `details` goes into the tooltip after the line itself.
    void showEnd(const QString& text, const QString& details);
    QString fullText() const { return m_text; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showText(const QString& text, const QString& toolTip);
    void fitText();

    QString m_text;
};

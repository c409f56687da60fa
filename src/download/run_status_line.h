// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>
#include <QPointer>
#include <QString>

class QStatusBar;

// The run's line in the status bar: where a run has got to while it goes, then what the last run
// did until the next one starts. A text too long for the line is cut with an ellipsis and shown
// whole in the tooltip, which also lists the files that failed; a click shows the tooltip at once.
// No text changes the line's size, so nothing around it moves. A message shown in the status bar
// (showMessage) is said on this line too, in place of the run's until it is cleared or the run has
// news; the bar does not draw it beneath.
class RunStatusLine final : public QLabel {
    Q_OBJECT
public:
    // `roomBelow` is kept free under the text for the progress bar that lies over the status bar.
    RunStatusLine(int roomBelow, QWidget* parent);

    // Takes the status bar's top row, over its whole width, and makes it as high as the line and
    // the room below. The line lies there itself: the bar's own layout would push it down, under
    // the progress bar.
    void fill(QStatusBar* bar);

    void showProgress(const QString& text);
    // `details` goes into the tooltip after the line itself.
    void showEnd(const QString& text, const QString& details);
    // Said as the status bar's message, in place of the run's text until the run has news.
    void showNote(const QString& text);
    QString fullText() const { return m_text; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // On the release, which goes no further: a tooltip goes away at any press or release a
    // widget hears of, the status bar's too.
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showText(const QString& text, const QString& toolTip);
    void fitText();

    const int m_roomBelow;
    QPointer<QStatusBar> m_bar;
    QString m_text;
    QString m_message;
};

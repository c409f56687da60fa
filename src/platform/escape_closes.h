#pragma once

class QWidget;

// A window that stays open beside the main window closes on Escape, as a dialog does, so a
// keyboard user need not reach for the window manager's close button.
void closeOnEscape(QWidget* window);

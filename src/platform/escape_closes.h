// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QWidget;

// A window that stays open beside the main window closes on Escape, as a dialog does, so a
// keyboard user need not reach for the window manager's close button.
void closeOnEscape(QWidget* window);

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pack/pack_export.h"

#include <qcoro/qcorotask.h>

class QStatusBar;
class QWidget;

namespace pack {

// The program menu's export: asks for a folder and writes the pack there, the pointer busy
// meanwhile; the status bar then says where the pack went, or what could not be written. Nothing
// is written when the window closed while the folder was asked for.
QCoro::Task<> exportPackFromMenu(QWidget* window, QStatusBar* statusBar, PackRequest request);

} // namespace pack

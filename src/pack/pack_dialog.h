#pragma once

#include "pack/pack_export.h"

class QStatusBar;
class QWidget;

namespace pack {

// The program menu's export: asks for a folder and writes the pack there, the pointer busy
// meanwhile; the status bar then says where the pack went, or what could not be written.
void exportPackFromMenu(QWidget* window, QStatusBar* statusBar, const PackRequest& request);

} // namespace pack

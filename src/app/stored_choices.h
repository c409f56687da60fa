#pragma once

#include "download/download_run.h"
#include "settings/settings_table.h"

#include <Qt>
#include <optional>

namespace reg {
class Store;
}

// A stored number is a box's value: 0 unticked, 1 ticked, 2 grey (which is not ticked); a text
// holding a number counts as that number. Nothing when no value is stored or it is no box value,
// and the box keeps its built-in state.
std::optional<Qt::CheckState> storedBoxState(const reg::Store& store, const settings_table::Toggle& toggle);

// The value a box's state is stored as.
int boxValue(Qt::CheckState state);

// The checkable menu item is ticked exactly when its stored value equals 1; nothing when no value
// is stored, and the item keeps its built-in state.
std::optional<bool> storedMenuCheck(const reg::Store& store, const settings_table::Toggle& toggle);

// Whether start-up deletes the charts of past days, as the stored option says.
bool deletesOldChartsAtStart(const reg::Store& store);

// The download run's choices as the window's boxes hold them right after start-up.
DownloadRunHost::Choices storedChoices(const reg::Store& store);

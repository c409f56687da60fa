#pragma once

#include "settings/settings_table.h"
#include "download/download_run.h"

#include <optional>

namespace reg {
class Store;
}

// A box's stored state when it is 0 or 1. Anything else (a value edited by hand, a text) is
// skipped, so the built-in state stays.
std::optional<bool> storedToggle(const reg::Store& store, const settings_table::Toggle& toggle);

// The state a box has right after start-up: the stored one, else the built-in one.
bool startupToggle(const reg::Store& store, const settings_table::Toggle& toggle);

// The download run's choices as the window's boxes hold them right after start-up.
DownloadRunHost::Choices storedChoices(const reg::Store& store);

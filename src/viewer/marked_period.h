// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/slider_hours.h"

// The marked period on the slider: a start and a length, both in slider hours.
namespace viewer {

// While marking, one end stays at the anchor and the other follows the thumb, either way.
Period followThumb(int anchor, int thumb);
// The start moved to the thumb; the length stays, so the end moves along.
Period moveStart(Period period, int thumb);
// The end moved to the thumb. A thumb before the start swaps the ends: the period then runs
// from the thumb to the old start.
Period moveEnd(Period period, int thumb);

} // namespace viewer

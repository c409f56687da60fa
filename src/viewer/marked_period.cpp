// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "viewer/marked_period.h"

namespace viewer {

Period followThumb(int anchor, int thumb) {
    if (anchor > thumb) {
        return {thumb, anchor - thumb};
    }
    return {anchor, thumb - anchor};
}

Period moveStart(Period period, int thumb) {
    return {thumb, period.length};
}

Period moveEnd(Period period, int thumb) {
    if (thumb < period.start) {
        return {thumb, period.start - thumb};
    }
    return {period.start, thumb - period.start};
}

} // namespace viewer

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The time slider's scale, shared by what shows the hours and what fetches them: seven days in
// one-hour steps, hour 0 being today's 00:00.
inline constexpr int SliderDays = 7;
inline constexpr int SliderHoursPerDay = 24;
inline constexpr int SliderMaximum = SliderDays * SliderHoursPerDay;

// A stretch of slider hours, the marked period among them.
struct Period {
    int start = 0;
    int length = 0;
    int end() const { return start + length; }
    bool operator==(const Period&) const = default;
};

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <tl/expected.hpp>

// How a call that can fail says so: its value, or the reason in words a person can act on, such
// as the system's own "No space left on device". One shape for every fallible call of ours, the
// shape of C++23's std::expected.
template<class T> using Expected = tl::expected<T, QString>;

inline tl::unexpected<QString> failed(QString reason) {
    return tl::unexpected<QString>(std::move(reason));
}

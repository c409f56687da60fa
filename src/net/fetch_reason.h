// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "net/fetch.h"

#include <QString>

class InterfaceTexts;

// Why a fetch failed, in the interface language: the kind of failure a person can act on, or the
// fetch's own words where lang.ini has none for its kind, such as the system's "No space left on
// device" for a file that could not be stored.
QString failureReason(const InterfaceTexts& texts, const FetchResult& result);

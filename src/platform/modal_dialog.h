// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <qcoro/qcorotask.h>

class QDialog;

// Shows a dialog modal to the whole program, as exec() made it, and waits for it to be finished
// without an event loop of its own: whatever awaits it resumes from the program's one loop, after
// the dialog's own call that ended it has returned. Gives the dialog's result, or nothing when the
// dialog was destroyed first (its window closed under it). Anything may have gone meanwhile: the
// caller checks what it holds before touching it.
QCoro::Task<std::optional<int>> showModally(QDialog* dialog);

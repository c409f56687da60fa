// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/shell.h"

class DesktopShell final : public Shell {
public:
    void openUrl(const QUrl& url) override;
    bool startDetached(const QString& program, const QStringList& arguments) override;
};

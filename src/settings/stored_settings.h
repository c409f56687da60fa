// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "settings/settings_table.h"

#include <Qt>
#include <optional>

class QLocale;
namespace reg {
class Store;
}

// The values of the settings table as the store keeps them, read and written by their
// declarations, so no caller spells where or how a value is kept.
class StoredSettings {
public:
    explicit StoredSettings(reg::Store& store) : m_store(store) {}

    // Nothing when no value is kept.
    std::optional<QString> stored(const settings_table::Text& text) const;
    QString value(const settings_table::Text& text) const { return stored(text).value_or(text.fallback); }
    void write(const settings_table::Text& text, const QString& value);
    // The interface language: the kept one, else the one that suits the system's locale.
    QString language(const QLocale& systemLocale) const;

    // A kept number is a box's value: 0 unticked, 1 ticked, 2 grey (which is not ticked); a text
    // holding a number counts as that number. Nothing when no value is kept or it is no box value,
    // and the box keeps its built-in state.
    std::optional<Qt::CheckState> boxState(const settings_table::Toggle& toggle) const;
    // Whether a box is ticked as the window shows it right after start-up.
    bool ticked(const settings_table::Toggle& toggle) const;
    void writeBoxState(const settings_table::Toggle& toggle, Qt::CheckState state);

    // The checkable menu item is ticked exactly when its kept value equals 1; nothing when no value
    // is kept, and the item keeps its built-in state.
    std::optional<bool> menuCheck(const settings_table::Toggle& toggle) const;
    bool menuTicked(const settings_table::Toggle& toggle) const {
        return menuCheck(toggle).value_or(toggle.builtInChecked);
    }
    void writeMenuCheck(const settings_table::Toggle& toggle, bool checked);

private:
    reg::Store& m_store;
};

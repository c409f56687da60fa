// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/stored_settings.h"

#include "settings/interface_texts.h"
#include "settings/registry_store.h"

#include <QLocale>
#include <cmath>

namespace {

const QString BriselKey = QString::fromLatin1(reg::BriselKeyPath);

// A kept number, or a kept text that holds one.
std::optional<double> number(const QVariant& value) {
    if (value.typeId() == QMetaType::Int) {
        return value.toInt();
    }
    if (value.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    QLocale plain = QLocale::c(); // the same on every machine
    plain.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double n = plain.toDouble(value.toString().trimmed(), &ok);
    return ok ? std::optional(n) : std::nullopt;
}

// Boxes and the menu item are kept under their built-in captions, the names start-up reads them by.
QVariant read(const reg::Store& store, const QString& name) {
    return store.ReadRegValue(reg::HKEY_CURRENT_USER, BriselKey, name);
}

} // namespace

std::optional<QString> StoredSettings::stored(const settings_table::Text& text) const {
    const QVariant value = read(m_store, text.name);
    return value.isValid() ? std::optional(value.toString()) : std::nullopt;
}

QString StoredSettings::language(const QLocale& systemLocale) const {
    return stored(settings_table::Keel).value_or(InterfaceTexts::languageFor(systemLocale));
}

void StoredSettings::write(const settings_table::Text& text, const QString& value) {
    m_store.WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey, text.name, value);
}

std::optional<Qt::CheckState> StoredSettings::boxState(const settings_table::Toggle& toggle) const {
    const std::optional<double> n = number(read(m_store, toggle.builtInCaption));
    if (!n) {
        return std::nullopt;
    }
    const double value = std::nearbyint(*n); // a box's value is whole, rounded half to even
    if (value == 0) {
        return Qt::Unchecked;
    }
    if (value == 1) {
        return Qt::Checked;
    }
    if (value == 2) {
        return Qt::PartiallyChecked;
    }
    return std::nullopt;
}

bool StoredSettings::ticked(const settings_table::Toggle& toggle) const {
    const std::optional<Qt::CheckState> state = boxState(toggle);
    return state ? *state == Qt::Checked : toggle.builtInChecked;
}

void StoredSettings::writeBoxState(const settings_table::Toggle& toggle, Qt::CheckState state) {
    const int value = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
    m_store.WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey, toggle.builtInCaption, value);
}

std::optional<bool> StoredSettings::menuCheck(const settings_table::Toggle& toggle) const {
    const QVariant value = read(m_store, toggle.builtInCaption);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return number(value) == 1.0;
}

void StoredSettings::writeMenuCheck(const settings_table::Toggle& toggle, bool checked) {
    m_store.WriteRegValue(reg::HKEY_CURRENT_USER, BriselKey, toggle.builtInCaption, checked ? 1 : 0);
}

#include "app/stored_choices.h"

#include "settings/registry_store.h"

std::optional<bool> storedToggle(const reg::Store& store, const settings_table::Toggle& toggle) {
    const QVariant value = store.ReadRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath),
                                              toggle.builtInCaption);
    if (value.typeId() != QMetaType::Int || (value.toInt() != 0 && value.toInt() != 1)) {
        return std::nullopt;
    }
    return value.toInt() == 1;
}

bool startupToggle(const reg::Store& store, const settings_table::Toggle& toggle) {
    return storedToggle(store, toggle).value_or(toggle.builtInChecked);
}

DownloadRunHost::Choices storedChoices(const reg::Store& store) {
    namespace t = settings_table;
    const auto state = [&store](const t::Toggle& toggle) {
        return startupToggle(store, toggle);
    };
    return {state(t::marevo),  state(t::quellan),    state(t::pilvisus),  state(t::temp),
            state(t::sademed), state(t::quellanyld), state(t::quellan3h), state(t::aintmärgitud)};
}

#include "app/stored_choices.h"

#include "settings/registry_store.h"

#include <QLocale>
#include <cmath>

namespace {

QVariant stored(const reg::Store& store, const settings_table::Toggle& toggle) {
    return store.ReadRegValue(reg::HKEY_CURRENT_USER, QString::fromLatin1(reg::BriselKeyPath),
                              toggle.builtInCaption);
}

// A stored number, or a stored text that holds one.
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

} // namespace

std::optional<Qt::CheckState> storedBoxState(const reg::Store& store, const settings_table::Toggle& toggle) {
    const std::optional<double> n = number(stored(store, toggle));
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

int boxValue(Qt::CheckState state) {
    return state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
}

std::optional<bool> storedMenuCheck(const reg::Store& store, const settings_table::Toggle& toggle) {
    const QVariant value = stored(store, toggle);
    if (!value.isValid()) {
        return std::nullopt;
    }
    return number(value) == 1.0;
}

bool deletesOldChartsAtStart(const reg::Store& store) {
    return storedMenuCheck(store, settings_table::kustutavanad)
        .value_or(settings_table::kustutavanad.builtInChecked);
}

DownloadRunHost::Choices storedChoices(const reg::Store& store) {
    namespace t = settings_table;
    const auto state = [&store](const t::Toggle& toggle) {
        const std::optional<Qt::CheckState> stored = storedBoxState(store, toggle);
        return stored ? *stored == Qt::Checked : toggle.builtInChecked;
    };
    return {state(t::marevo),  state(t::quellan),    state(t::pilvisus),  state(t::temp),
            state(t::sademed), state(t::quellanyld), state(t::quellan3h), state(t::aintmärgitud)};
}

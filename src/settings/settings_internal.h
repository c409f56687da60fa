#pragma once

// Private to src/settings: the logging category of the settings store and the platform back ends.

#include "settings/registry_store.h"

#include <QLoggingCategory>
#include <QtGlobal>

Q_DECLARE_LOGGING_CATEGORY(lcSettings)

namespace reg {

#ifdef Q_OS_WIN
// The Windows registry itself (registry_windows_backend.cpp).
std::unique_ptr<Backend> makeWindowsBackend();
#endif

} // namespace reg

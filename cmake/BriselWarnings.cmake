# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# What every target of ours compiles with, in one place: the compiler's warnings, as errors where
# BRISEL_WERROR asks (the ci preset); no implicit conversion between QString, QByteArray and char*,
# so that every text says which encoding it is in; no narrowing between a signal's and a slot's
# arguments; nothing Qt has deprecated up to the oldest Qt we build with; and Q_ASSERT kept in
# release builds. Third-party headers come in as system includes, so these judge only our code.
add_library(brisel_warnings INTERFACE)
if(MSVC)
    target_compile_options(brisel_warnings INTERFACE /W4 /permissive- /utf-8 $<$<BOOL:${BRISEL_WERROR}>:/WX>)
else()
    target_compile_options(brisel_warnings INTERFACE -Wall -Wextra -Wpedantic -Wold-style-cast
        -Woverloaded-virtual -Wnon-virtual-dtor -Wcast-qual $<$<BOOL:${BRISEL_WERROR}>:-Werror>)
endif()
target_compile_definitions(brisel_warnings INTERFACE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY QT_NO_URL_CAST_FROM_STRING QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_DISABLE_DEPRECATED_BEFORE=0x060400 QT_FORCE_ASSERTS)

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/profile_file.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVector>

// The interface texts of lang.ini in the current language `keel` ("estonian", "english" or
// "latvian"). A missing file, section or key gives "".
class InterfaceTexts final {
public:
    static inline const QString Estonian = QStringLiteral("estonian");
    static inline const QString English = QStringLiteral("english");
    static inline const QString Latvian = QStringLiteral("latvian");

    explicit InterfaceTexts(const QString& langIniPath);
    // Several lang.ini files read as one: a later file adds keys or replaces an earlier one's.
    explicit InterfaceTexts(const QStringList& langIniLayers);

    QString language() const { return m_keel; }
    void setLanguage(const QString& keel) { m_keel = keel; }

    QString keeltekst(const QString& key) const;
    // The text with its places %1..%9 filled in from `values`, in one pass, so a value is never
    // read as a place. A place the text lacks leaves its value out and one without a value stays
    // as written: a translation that drops or adds a place costs that value, never a warning.
    QString keeltekst(const QString& key, const QStringList& values) const;
    // The weekday abbreviation of a date in the current language ("Sun" .. "Sat" keys).
    QString npaev(const QDate& kuupa) const;

    // The interface language that suits a locale when none is stored: its own language when
    // lang.ini has it, Estonian otherwise.
    static QString languageFor(const QLocale& locale);
    // The locale of an interface language, such as a page names its language by.
    static QLocale localeOf(const QString& keel);

private:
    QVector<ProfileFile> m_layers;
    QString m_keel = Estonian;
};

// The locale the user reads the desktop in: the first of the system's interface languages.
QLocale systemInterfaceLocale();
// A menu or button caption as plain text: its mnemonic marks dropped, "&&" kept as "&".
QString withoutMnemonic(QString caption);

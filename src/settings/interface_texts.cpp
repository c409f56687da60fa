// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "settings/interface_texts.h"

#include "settings/settings_table.h"

#include <array>

InterfaceTexts::InterfaceTexts(const QString& langIniPath) : InterfaceTexts(QStringList{langIniPath}) {}

InterfaceTexts::InterfaceTexts(const QStringList& langIniLayers) {
    for (const QString& path : langIniLayers) {
        m_layers.append(ProfileFile::load(path));
    }
}

QString InterfaceTexts::keeltekst(const QString& key) const {
    for (auto layer = m_layers.crbegin(); layer != m_layers.crend(); ++layer) {
        if (const std::optional<QString> text = layer->find(m_keel, key)) {
            return *text;
        }
    }
    return QString();
}

QString InterfaceTexts::keeltekst(const QString& key, const QStringList& values) const {
    const QString text = keeltekst(key);
    QString filled;
    filled.reserve(text.size());
    for (qsizetype at = 0; at < text.size(); ++at) {
        const bool place =
            text[at] == u'%' && at + 1 < text.size() && text[at + 1] >= u'1' && text[at + 1] <= u'9';
        const qsizetype index = place ? text[at + 1].unicode() - u'1' : -1;
        if (place && index < values.size()) {
            filled += values[index];
            ++at;
        } else {
            filled += text[at];
        }
    }
    return filled;
}

QString InterfaceTexts::npaev(const QDate& kuupa) const {
    static const std::array<QString, 7> Keys{
        QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"), QStringLiteral("Wed"),
        QStringLiteral("Thu"), QStringLiteral("Fri"), QStringLiteral("Sat")};
    if (!kuupa.isValid()) {
        return QString();
    }
    return keeltekst(Keys[kuupa.dayOfWeek() % 7]); // dayOfWeek: Monday 1 .. Sunday 7
}

namespace {

// Each interface language and the language of the world it is.
struct Language {
    const QString& keel;
    QLocale::Language spoken;
};
const Language Languages[] = {{InterfaceTexts::Estonian, QLocale::Estonian},
                              {InterfaceTexts::English, QLocale::English},
                              {InterfaceTexts::Latvian, QLocale::Latvian}};

} // namespace

QString InterfaceTexts::languageFor(const QLocale& locale) {
    for (const Language& language : Languages) {
        if (language.spoken == locale.language()) {
            return language.keel;
        }
    }
    return settings_table::Keel.fallback;
}

QLocale InterfaceTexts::localeOf(const QString& keel) {
    for (const Language& language : Languages) {
        if (language.keel == keel) {
            return QLocale(language.spoken);
        }
    }
    return QLocale(QLocale::Estonian);
}

QLocale systemInterfaceLocale() {
    const QStringList languages = QLocale::system().uiLanguages();
    return languages.isEmpty() ? QLocale::system() : QLocale(languages.first());
}

QString withoutMnemonic(QString caption) {
    for (qsizetype i = caption.indexOf(QLatin1Char('&')); i >= 0;
         i = caption.indexOf(QLatin1Char('&'), i + 1)) {
        caption.remove(i, 1);
    }
    return caption;
}

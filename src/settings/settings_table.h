// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <array>

// Every value Brisel keeps in its settings store, with its name and its default, in one place.
namespace settings_table {

// A text kept under its name, and what applies while none is kept.
struct Text {
    QString name;
    QString fallback;
};

// The language of a first start whose system speaks none of lang.ini's languages.
inline const Text Keel{QStringLiteral("Keel"), QStringLiteral("estonian")};
inline const Text Linn{QStringLiteral("Linn"), QStringLiteral("Tartu")};
// The remembered provider account; the password is kept as it was typed.
inline const Text QuellanUser{QStringLiteral("QuellanUser"), QString()};
inline const Text QuellanPassword{QStringLiteral("QuellanPassword"), QString()};

// A check box, or the checkable menu item, whose state is kept under its built-in caption. The
// built-in caption is the name in every language: a name that followed the interface language
// would lose every state at the next start in English or Latvian.
struct Toggle {
    const char* objectName;
    QString builtInCaption;
    bool builtInChecked;
};

inline const Toggle marevo{"marevo", QStringLiteral("www.marevo.example"), true};
inline const Toggle quellan{"quellan", QStringLiteral("www.quellan.example tuule kaart"), true};
inline const Toggle pilvisus{"pilvisus", QStringLiteral("pilvisuse kaart"), false};
inline const Toggle temp{"temp", QStringLiteral("temperatuuri kaart"), false};
inline const Toggle sademed{"sademed", QStringLiteral("sademete kaart"), false};
inline const Toggle quellanyld{"quellanyld", QStringLiteral("Quellan üldgraafikud"), true};
inline const Toggle quellan3h{"quellan3h", QStringLiteral("www.quellan.example iga 3h tagant"), true};
inline const Toggle aintmärgitud{"aintmärgitud", QStringLiteral("Lae ainult märgitud periood"), true};
inline const Toggle tsekiuuendusi{"tsekiuuendusi", QStringLiteral("Kontrolli programmi uuendusi"), true};
inline const Toggle kustutavanad{"kustutavanad", QStringLiteral("Kustuta vanad allalaetud kaardid"), true};
// Off by default: a download nobody asked for may cost a sailor on a paid link.
inline const Toggle laadiühendusel{"laadiühendusel", QStringLiteral("Lae kaardid, kui ühendus tekib"), false};
inline const Toggle mõõdetudühendus{"mõõdetudühendus", QStringLiteral("Ka mõõdetud ühendusel"), false};

// The order start-up restores the check boxes in.
inline const std::array<const Toggle*, 9> RestoreOrder{
    &marevo, &quellan, &pilvisus, &temp, &sademed, &quellanyld, &quellan3h, &aintmärgitud, &tsekiuuendusi};
// The order shut-down saves them in.
inline const std::array<const Toggle*, 9> SaveOrder{
    &quellan, &marevo, &pilvisus, &temp, &sademed, &quellanyld, &quellan3h, &aintmärgitud, &tsekiuuendusi};

} // namespace settings_table

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "windows/update_answer.h"

#include "settings/interface_texts.h"

namespace {

const QString UpdatesMarker = QStringLiteral("UUENDUSED");
const QString UpdatesHeading = QStringLiteral("UUENDUSED peale teie programmi versiooni");
const QString LatestSentence = QStringLiteral("Kasutuses on uusim versioon");

} // namespace

UpdateAnswer judgeUpdateAnswer(const QString& answer, const InterfaceTexts& texts) {
    UpdateAnswer judged{answer, answer.contains(UpdatesMarker, Qt::CaseSensitive)};
    if (texts.language() == InterfaceTexts::Estonian) {
        return judged;
    }
    if (judged.offersUpdate) {
        judged.text.replace(UpdatesHeading, texts.keeltekst(QStringLiteral("updateavailable")));
    } else {
        judged.text.replace(LatestSentence, texts.keeltekst(QStringLiteral("runninglatest")));
    }
    return judged;
}

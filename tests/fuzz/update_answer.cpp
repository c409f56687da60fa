// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The home site's update answer on any bytes, read as the update window reads it and judged in
// each language: whether an update is offered does not depend on the language, and the Estonian
// window shows the answer as it came.

#include "windows/update_answer.h"

#include "fuzz_support.h"
#include "settings/interface_texts.h"
#include "windows/answer_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static InterfaceTexts texts(QStringLiteral(BRISEL_DATA_DIR "/lang.ini"));
    const QString answer = readAnswerFile(fuzz::asFile(fuzz::bytes(data, size)));
    const bool offered = answer.contains(QStringLiteral("UUENDUSED"));
    for (const QString& language :
         {InterfaceTexts::Estonian, InterfaceTexts::English, InterfaceTexts::Latvian}) {
        texts.setLanguage(language);
        const UpdateAnswer judged = judgeUpdateAnswer(answer, texts);
        FUZZ_CHECK(judged.offersUpdate == offered);
        FUZZ_CHECK(language != InterfaceTexts::Estonian || judged.text == answer);
    }
    return 0;
}

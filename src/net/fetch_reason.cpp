// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "net/fetch_reason.h"

#include "settings/interface_texts.h"

namespace {

QString text(const InterfaceTexts& texts, const char* key) {
    return texts.keeltekst(QString::fromLatin1(key));
}

} // namespace

QString failureReason(const InterfaceTexts& texts, const FetchResult& result) {
    switch (result.failure) {
    case FetchFailure::HttpStatus:
        return text(texts, "reasonhttp").arg(result.httpStatus);
    case FetchFailure::Timeout:
        return text(texts, "reasontimeout");
    case FetchFailure::NoConnection:
        return text(texts, "reasonnoconnection");
    case FetchFailure::NotAPicture:
        return text(texts, "reasonnotpicture");
    case FetchFailure::CutShort:
        return text(texts, "reasoncut");
    case FetchFailure::GivenUp:
        return text(texts, "reasongivenup");
    case FetchFailure::Storage:
    case FetchFailure::None:
    case FetchFailure::Other:
        break;
    }
    return result.error;
}

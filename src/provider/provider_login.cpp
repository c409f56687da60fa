// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "provider/provider_login.h"

#include "net/chart_names.h"
#include "net/fetch_reason.h"
#include "net/provider_requests.h"
#include "provider/provider_replies.h"
#include "settings/interface_texts.h"

QCoro::Task<LoginReply> requestLogin(Downloader& downloader, LoginRequest where, QString login, QString pwd) {
    const QString replyFile = chartPath(where.chartFolder, loginAnswerFile());
    const FetchResult fetched =
        co_await downloader.fetch(loginUrl(where.providerBase, login, pwd), replyFile);
    if (!fetched.ok) {
        co_return tl::unexpected<FetchResult>(fetched);
    }
    co_return loginAccepted(replyFile, where.loginMarker);
}

QString loginFailedText(const InterfaceTexts& texts, const FetchResult& failure) {
    return texts.keeltekst(QStringLiteral("loginfailed")).arg(failureReason(texts, failure));
}

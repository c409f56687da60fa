// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "net/fetch.h"

#include <QString>
#include <QUrl>
#include <qcoro/qcorotask.h>
#include <tl/expected.hpp>

class Downloader;
class InterfaceTexts;

// One login request to the provider: the account's e-mail and password go in the query, the
// reply is saved in the chart folder as quellan.txt and judged by its first line.
struct LoginRequest {
    QUrl providerBase;
    QString chartFolder;
    QString loginMarker;
};

// The provider accepted the account (true) or refused it (false). A reply that could not be
// fetched or stored says nothing of the account: then the request's own result stands for the
// reply, and its failure says why. Kept as the fetch's result rather than words, so that the
// reason is said in the interface language of the moment it is shown.
using LoginReply = tl::expected<bool, FetchResult>;
QCoro::Task<LoginReply> requestLogin(Downloader& downloader, LoginRequest where, QString login, QString pwd);

// "Provider login failed: HTTP status 500", in the interface language.
QString loginFailedText(const InterfaceTexts& texts, const FetchResult& failure);

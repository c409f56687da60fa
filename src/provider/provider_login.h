#pragma once

#include <QString>
#include <QUrl>
#include <qcoro/qcorotask.h>

class Downloader;

// One login request to the provider: the account's e-mail and password go in the query, the
// reply is saved in the chart folder as quellan.txt and judged by its first line. A request that
// cannot be fetched is a refused login.
struct LoginRequest {
    QUrl providerBase;
    QString chartFolder;
    QString loginMarker;
};
QCoro::Task<bool> requestLogin(Downloader& downloader, LoginRequest where, QString login, QString pwd);

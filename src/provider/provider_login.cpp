#include "provider/provider_login.h"

#include "net/chart_names.h"
#include "net/fetch.h"
#include "net/provider_requests.h"
#include "provider/provider_replies.h"

QCoro::Task<bool> requestLogin(Downloader& downloader, LoginRequest where, QString login, QString pwd) {
    const QString replyFile = chartPath(where.chartFolder, loginAnswerFile());
    const FetchResult fetched =
        co_await downloader.fetch(loginUrl(where.providerBase, login, pwd), replyFile);
    if (!fetched.ok) {
        co_return false;
    }
    co_return loginAccepted(replyFile, where.loginMarker);
}

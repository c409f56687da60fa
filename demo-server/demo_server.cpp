// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "demo_server.h"

#include "connection_reset.h"
#include "fault_plan.h"
#include "request_log.h"
#include "routes.h"
#include "service_clock.h"
#include "text_answers.h"

#include <QLocale>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <httplib.h>
#include <mutex>
#include <sys/socket.h>
#include <thread>

namespace demo {

namespace {

const char* const loopback = "127.0.0.1";

Query queryOf(const httplib::Request& request) {
    Query query;
    for (const auto& [key, value] : request.params) {
        const QString name = QString::fromStdString(key);
        if (!query.contains(name)) {
            query.insert(name, QString::fromStdString(value));
        }
    }
    return query;
}

Reply faultReply(FaultKind fault) {
    switch (fault) {
    case FaultKind::NotFound404:
        return notFound();
    case FaultKind::ServerError500:
        return Reply{500, QByteArrayLiteral("text/plain"), QByteArrayLiteral("Internal server error\n")};
    default:
        return Reply{200, QByteArrayLiteral("text/html"), portalPage()};
    }
}

// Reuse of an address in TIME_WAIT, as a restarted server needs, but never of a port another
// server listens on: cpp-httplib's default would let two servers share one port.
void reuseAddressOnly(socket_t socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
}

bool isFetch(const httplib::Request& request) {
    return request.method == "GET" || request.method == "HEAD";
}

const QString httpDateFormat = QStringLiteral("ddd, dd MMM yyyy hh:mm:ss 'GMT'");

QByteArray httpDate(const QDateTime& moment) {
    return QLocale::c().toString(moment.toUTC(), httpDateFormat).toLatin1();
}

QDateTime fromHttpDate(const std::string& text) {
    QDateTime moment = QLocale::c().toDateTime(QString::fromStdString(text), httpDateFormat);
    moment.setTimeSpec(Qt::UTC);
    return moment;
}

// A picture the client holds already: its tag matches, or, without a tag asked for, it has not
// changed since the time the client gives.
bool clientHasIt(const httplib::Request& request, const Reply& reply) {
    if (reply.status != 200 || !reply.lastModified.isValid()) {
        return false;
    }
    if (request.has_header("If-None-Match")) {
        return QByteArray::fromStdString(request.get_header_value("If-None-Match")) == reply.etag;
    }
    if (!request.has_header("If-Modified-Since")) {
        return false;
    }
    const QDateTime since = fromHttpDate(request.get_header_value("If-Modified-Since"));
    const qint64 lastModifiedSeconds = reply.lastModified.toSecsSinceEpoch();
    return since.isValid() && lastModifiedSeconds <= since.toSecsSinceEpoch();
}

void sendValidators(httplib::Response& response, const Reply& reply) {
    if (reply.lastModified.isValid()) {
        response.set_header("Last-Modified", httpDate(reply.lastModified).toStdString());
        response.set_header("ETag", reply.etag.toStdString());
    }
    if (!reply.cacheControl.isEmpty()) {
        response.set_header("Cache-Control", reply.cacheControl.toStdString());
    }
}

qsizetype sendWhole(httplib::Response& response, const Reply& reply) {
    response.status = reply.status;
    sendValidators(response, reply);
    response.set_content(reply.body.constData(), size_t(reply.body.size()), reply.contentType.toStdString());
    return reply.body.size();
}

qsizetype sendNotModified(httplib::Response& response, const Reply& reply) {
    response.status = 304;
    sendValidators(response, reply);
    return 0;
}

// Announces the whole body but sends only its first half, then gives up on the connection.
qsizetype sendHalf(httplib::Response& response, const Reply& reply) {
    response.status = reply.status;
    const QByteArray body = reply.body;
    const size_t half = size_t(body.size() / 2);
    response.set_content_provider(size_t(body.size()), reply.contentType.toStdString(),
                                  [body, half](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset < half) {
                                          sink.write(body.constData() + offset, half - offset);
                                      }
                                      return false;
                                  });
    return qsizetype(half);
}

// Should the connection outlive the drop, the reply still never completes.
void sendNothing(httplib::Response& response) {
    response.set_content_provider(1, "text/plain", [](size_t, size_t, httplib::DataSink&) { return false; });
}

} // namespace

struct DemoServer::Impl {
    explicit Impl(ServerOptions given)
        : options(std::move(given)), clock(options.now),
          faults(options.faultKind, options.faultPercent, options.seed, options.faultPath) {}

    // Counts a request as on its way while it is handled, latency included.
    class InFlight final {
    public:
        explicit InFlight(Impl& impl) : m_impl(impl) {
            const int now = ++m_impl.inFlight;
            int peak = m_impl.peakInFlight;
            while (now > peak && !m_impl.peakInFlight.compare_exchange_weak(peak, now)) {
            }
        }
        ~InFlight() { --m_impl.inFlight; }
        InFlight(const InFlight&) = delete;
        InFlight& operator=(const InFlight&) = delete;

    private:
        Impl& m_impl;
    };

    void handle(const httplib::Request& request, httplib::Response& response);
    Reply replyFor(const httplib::Request& request, FaultKind fault);
    void record(const QString& target);
    void pause(int milliseconds);
    void wakeSleepers();

    ServerOptions options;
    ServiceClock clock;
    FaultPlan faults;
    RequestLog log;
    httplib::Server http;
    std::thread listener;
    std::atomic<bool> listenerEnded{false};
    std::unique_ptr<Routes> routes;
    quint16 port = 0;

    mutable std::mutex requestsMutex;
    QStringList targets;
    std::atomic<int> inFlight{0};
    std::atomic<int> peakInFlight{0};

    std::mutex stopMutex;
    std::condition_variable stopWake;
    bool stopping = false;
};

void DemoServer::Impl::handle(const httplib::Request& request, httplib::Response& response) {
    const QString target = QString::fromStdString(request.target);
    record(target);
    const InFlight counted(*this);
    pause(options.latencyMs);
    const FaultKind fault = faults.next(QString::fromStdString(request.path));
    if (fault == FaultKind::Slow) {
        pause(options.slowMs);
    }
    if (fault == FaultKind::Reset) {
        dropConnection(port, request.remote_port);
        sendNothing(response);
        log.write(clock.now(), target, 0, 0);
        return;
    }
    const Reply reply = replyFor(request, fault);
    if (fault == FaultKind::None && clientHasIt(request, reply)) {
        log.write(clock.now(), target, 304, sendNotModified(response, reply));
        return;
    }
    const qsizetype sent = fault == FaultKind::Cut ? sendHalf(response, reply) : sendWhole(response, reply);
    log.write(clock.now(), target, reply.status, sent);
}

Reply DemoServer::Impl::replyFor(const httplib::Request& request, FaultKind fault) {
    if (fault == FaultKind::NotFound404 || fault == FaultKind::ServerError500 || fault == FaultKind::Portal) {
        return faultReply(fault);
    }
    if (!isFetch(request)) {
        return notFound();
    }
    return routes->answer(QString::fromStdString(request.path), queryOf(request));
}

void DemoServer::Impl::record(const QString& target) {
    const std::lock_guard lock(requestsMutex);
    targets << target;
}

void DemoServer::Impl::pause(int milliseconds) {
    std::unique_lock lock(stopMutex);
    stopWake.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] { return stopping; });
}

void DemoServer::Impl::wakeSleepers() {
    {
        const std::lock_guard lock(stopMutex);
        stopping = true;
    }
    stopWake.notify_all();
}

DemoServer::DemoServer(ServerOptions options) : m_impl(std::make_unique<Impl>(std::move(options))) {
    httplib::Server& http = m_impl->http;
    http.set_tcp_nodelay(true);
    http.set_socket_options(reuseAddressOnly);
    const auto handler = [impl = m_impl.get()](const httplib::Request& request, httplib::Response& response) {
        impl->handle(request, response);
    };
    http.Get(".*", handler);
    http.Post(".*", handler);
    http.Put(".*", handler);
    http.Patch(".*", handler);
    http.Delete(".*", handler);
    http.Options(".*", handler);
}

DemoServer::~DemoServer() {
    stop();
}

bool DemoServer::start(quint16 port) {
    Impl& impl = *m_impl;
    if (impl.listener.joinable() || impl.listenerEnded) {
        return false;
    }
    if (!impl.options.logFile.isEmpty() && !impl.log.open(impl.options.logFile)) {
        return false;
    }
    std::signal(SIGPIPE, SIG_IGN);
    const int bound = port == 0 ? impl.http.bind_to_any_port(loopback)
                                : (impl.http.bind_to_port(loopback, port) ? port : -1);
    if (bound <= 0) {
        return false;
    }
    impl.port = quint16(bound);
    impl.routes = std::make_unique<Routes>(impl.options, impl.clock, baseUrl());
    impl.listener = std::thread([&impl] {
        impl.http.listen_after_bind();
        impl.listenerEnded = true;
    });
    // stop() only takes effect once the server runs.
    while (!impl.http.is_running() && !impl.listenerEnded) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

quint16 DemoServer::port() const {
    return m_impl->port;
}

QUrl DemoServer::baseUrl() const {
    return QUrl(QStringLiteral("http://%1:%2").arg(QLatin1String(loopback)).arg(port()));
}

void DemoServer::stop() {
    if (!m_impl->listener.joinable()) {
        return;
    }
    m_impl->wakeSleepers();
    m_impl->http.stop();
    closeConnections(m_impl->port);
    m_impl->listener.join();
}

int DemoServer::requestCount() const {
    const std::lock_guard lock(m_impl->requestsMutex);
    return int(m_impl->targets.size());
}

QStringList DemoServer::requestedPaths() const {
    const std::lock_guard lock(m_impl->requestsMutex);
    return m_impl->targets;
}

int DemoServer::peakRequestsInFlight() const {
    return m_impl->peakInFlight;
}

void DemoServer::setFault(FaultKind kind, int percent, QString path) {
    m_impl->faults.set(kind, percent, std::move(path));
}

} // namespace demo

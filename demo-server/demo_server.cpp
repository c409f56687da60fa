#include "demo_server.h"

#include "connection_reset.h"
#include "fault_plan.h"
#include "request_log.h"
#include "routes.h"
#include "service_clock.h"
#include "text_answers.h"

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

qsizetype sendWhole(httplib::Response& response, const Reply& reply) {
    response.status = reply.status;
    response.set_content(reply.body.constData(), size_t(reply.body.size()), reply.contentType.toStdString());
    return reply.body.size();
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
          faults(options.faultKind, options.faultPercent, options.seed) {}

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

    std::mutex stopMutex;
    std::condition_variable stopWake;
    bool stopping = false;
};

void DemoServer::Impl::handle(const httplib::Request& request, httplib::Response& response) {
    const QString target = QString::fromStdString(request.target);
    record(target);
    pause(options.latencyMs);
    const FaultKind fault = faults.next();
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

void DemoServer::setFault(FaultKind kind, int percent) {
    m_impl->faults.set(kind, percent);
}

} // namespace demo

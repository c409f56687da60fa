#include "demo_client.h"

#include <gtest/gtest.h>
#include <httplib.h>

namespace demo_test {

Fetched fetch(quint16 port, const QString& target, int timeoutMs, const RequestHeaders& headers) {
    httplib::Client client("127.0.0.1", port);
    httplib::Headers sent;
    for (const auto& [name, value] : headers) {
        sent.emplace(name, value);
    }
    client.set_url_encode(false);
    client.set_read_timeout(timeoutMs / 1000, (timeoutMs % 1000) * 1000);
    Fetched fetched;
    const httplib::Result result = client.Get(
        target.toStdString(), sent,
        [&fetched](const httplib::Response& response) {
            fetched.status = response.status;
            fetched.contentType = response.get_header_value("Content-Type");
            fetched.lastModified = response.get_header_value("Last-Modified");
            fetched.etag = response.get_header_value("ETag");
            if (response.has_header("Content-Length")) {
                fetched.announcedLength = std::stoll(response.get_header_value("Content-Length"));
            }
            return true;
        },
        [&fetched](const char* data, size_t length) {
            fetched.body.append(data, qsizetype(length));
            return true;
        });
    fetched.failed = !result;
    return fetched;
}

std::unique_ptr<demo::DemoServer> startServer(demo::ServerOptions options) {
    auto server = std::make_unique<demo::DemoServer>(std::move(options));
    EXPECT_TRUE(server->start(0));
    return server;
}

std::unique_ptr<demo::DemoServer> startServerAt(const QDateTime& now) {
    demo::ServerOptions options;
    options.now = now;
    return startServer(options);
}

QDateTime earlyMorning() {
    return QDateTime(QDate(2007, 4, 10), QTime(3, 0));
}

QImage gifPicture(const QByteArray& bytes) {
    if (!bytes.startsWith("GIF89a") && !bytes.startsWith("GIF87a")) {
        return {};
    }
    return QImage::fromData(bytes, "GIF");
}

QByteArray firstLine(const QByteArray& body) {
    const qsizetype end = body.indexOf('\r');
    return end < 0 ? body : body.left(end);
}

} // namespace demo_test

#pragma once

#include "demo_server.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace demo_test {

// What a plain HTTP client saw of one request.
struct Fetched {
    int status = 0;      // 0 when no reply header arrived
    bool failed = false; // the transfer did not end with a whole reply
    QByteArray body;
    std::string contentType;
    qint64 announcedLength = -1;
    std::string lastModified;
    std::string etag;
};

using RequestHeaders = std::vector<std::pair<std::string, std::string>>;

// Sends the target exactly as written, unencoded, to the server on 127.0.0.1.
Fetched fetch(quint16 port, const QString& target, int timeoutMs = 5000, const RequestHeaders& headers = {});

// A started server that believes it is the given moment.
std::unique_ptr<demo::DemoServer> startServer(demo::ServerOptions options);
std::unique_ptr<demo::DemoServer> startServerAt(const QDateTime& now);

// 10 April 2007, 03:00: the early morning, before today's 00 run is published.
QDateTime earlyMorning();

// The reply as a GIF picture; a null image when the bytes are not a GIF file.
QImage gifPicture(const QByteArray& bytes);

// What Brisel judges a text reply by: everything before the first carriage return.
QByteArray firstLine(const QByteArray& body);

} // namespace demo_test

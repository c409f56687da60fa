// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QString>
#include <functional>
#include <mutex>

namespace demo {

// One encoded picture and the moment it was first drawn, which the server gives as its
// Last-Modified.
struct CachedPicture {
    QByteArray gif;
    QDateTime drawn;
};

// Encoded pictures by path: a download run asks for the same charts again and again, and each
// picture is the same every time it is asked for.
class PictureCache final {
public:
    CachedPicture gifFor(const QString& path, const QDateTime& now, const std::function<QImage()>& draw);

private:
    QByteArray render(const std::function<QImage()>& draw);

    std::mutex m_mutex;
    QHash<QString, CachedPicture> m_gifs;
    // One picture is drawn at a time: the server's threads share the font machinery, and a
    // handful of milliseconds per picture needs no parallel drawing.
    std::mutex m_drawing;
};

} // namespace demo

// SPDX-FileCopyrightText: 2026 The Brisel developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "picture_cache.h"

#include "gif_encoder.h"

namespace demo {

namespace {

// A bound for a long-running demo: a week of every chart is far below it.
constexpr qsizetype maximumPictures = 4096;

} // namespace

CachedPicture PictureCache::gifFor(const QString& path, const QDateTime& now,
                                   const std::function<QImage()>& draw) {
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_gifs.constFind(path);
        if (found != m_gifs.constEnd()) {
            return *found;
        }
    }
    const CachedPicture picture{render(draw), now};
    const std::lock_guard lock(m_mutex);
    if (m_gifs.size() >= maximumPictures) {
        m_gifs.clear();
    }
    m_gifs.insert(path, picture);
    return picture;
}

QByteArray PictureCache::render(const std::function<QImage()>& draw) {
    const std::lock_guard lock(m_drawing);
    return encodeGif(draw());
}

} // namespace demo

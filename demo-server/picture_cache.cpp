#include "picture_cache.h"

#include "gif_encoder.h"

namespace demo {

namespace {

// A bound for a long-running demo: a week of every chart is far below it.
constexpr qsizetype maximumPictures = 4096;

} // namespace

QByteArray PictureCache::gifFor(const QString& path, const std::function<QImage()>& draw) {
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_gifs.constFind(path);
        if (found != m_gifs.constEnd()) {
            return *found;
        }
    }
    const QByteArray gif = render(draw);
    const std::lock_guard lock(m_mutex);
    if (m_gifs.size() >= maximumPictures) {
        m_gifs.clear();
    }
    m_gifs.insert(path, gif);
    return gif;
}

QByteArray PictureCache::render(const std::function<QImage()>& draw) {
    const std::lock_guard lock(m_drawing);
    return encodeGif(draw());
}

} // namespace demo

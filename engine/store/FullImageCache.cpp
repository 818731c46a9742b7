#include "FullImageCache.h"

namespace corvane {

QImage FullImageCache::image(std::int64_t id) const
{
    if (const QImage *cached = m_cache.object(id))
        return *cached;
    return {};
}

void FullImageCache::insert(std::int64_t id, const QImage &image)
{
    if (image.isNull())
        return;
    const qsizetype cost = std::max<qsizetype>(1, image.sizeInBytes());
    if (cost > m_cache.maxCost()) {
        m_cache.remove(id);
        return;
    }
    m_cache.insert(id, new QImage(image), cost);
}

} // namespace corvane

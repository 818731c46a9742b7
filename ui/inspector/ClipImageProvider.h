#pragma once

#include <QQuickImageProvider>

#include <functional>
#include <memory>

namespace corvane {

class ClipDatabase;

/**
 * @brief "image://clipimage/<clip id>": a clip's full image, read from the database on the
 * image loader's thread (the database serialises its own calls) and scaled to the requested size.
 * A picture too large to decode at once is decoded at the size shown.
 */
class ClipImageProvider : public QQuickImageProvider
{
public:
    /** `database` is asked on every request: the history may open after the provider is made. */
    explicit ClipImageProvider(std::function<std::shared_ptr<ClipDatabase>()> database);
    explicit ClipImageProvider(std::shared_ptr<ClipDatabase> database);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    std::function<std::shared_ptr<ClipDatabase>()> m_database;
};

} // namespace corvane

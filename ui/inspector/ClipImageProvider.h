#pragma once

#include <QQuickImageProvider>

#include <memory>

namespace corvane {

class ClipDatabase;

/**
 * @brief "image://clipimage/<clip id>": a clip's full image, read from the database on the
 * image loader's thread (the database serialises its own calls) and scaled to the requested size.
 */
class ClipImageProvider : public QQuickImageProvider
{
public:
    explicit ClipImageProvider(std::shared_ptr<ClipDatabase> database);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    std::shared_ptr<ClipDatabase> m_database;
};

} // namespace corvane

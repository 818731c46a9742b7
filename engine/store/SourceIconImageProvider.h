#pragma once

#include <QPointer>
#include <QQuickImageProvider>

namespace corvane {

class SourceIconCache;

/**
 * @brief "image://source/<percent-encoded source key>?<icon revision>": a source's icon.
 *
 * Answers from the icon cache; a miss asks the main thread to load the icon and answers an empty
 * image. The revision in the address makes views ask again once it moves.
 */
class SourceIconImageProvider : public QQuickImageProvider
{
public:
    explicit SourceIconImageProvider(SourceIconCache *icons);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    QPointer<SourceIconCache> m_icons;
};

} // namespace corvane

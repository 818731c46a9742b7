#pragma once

#include <QPointer>
#include <QQuickImageProvider>

namespace corvane {

class LinkPreviewService;

/**
 * @brief "image://linkpreview/<percent-encoded key>/image|icon?r=<revision>": a preview's picture
 * or icon; "image://linkpreview/<percent-encoded path>/app": an application file's icon.
 */
class LinkPreviewImageProvider : public QQuickImageProvider
{
public:
    explicit LinkPreviewImageProvider(LinkPreviewService *service);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

private:
    QPointer<LinkPreviewService> m_service;
};

} // namespace corvane

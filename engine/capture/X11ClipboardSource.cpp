#include "X11ClipboardSource.h"

#include "X11ClipboardReader.h"

#include <QPointer>

namespace corvane {

std::unique_ptr<X11ClipboardSource> X11ClipboardSource::create()
{
    auto reader = std::make_unique<X11ClipboardReader>();
    if (!reader->isConnected())
        return nullptr;
    return std::unique_ptr<X11ClipboardSource>(new X11ClipboardSource(std::move(reader)));
}

X11ClipboardSource::X11ClipboardSource(std::unique_ptr<X11ClipboardReader> reader)
    : m_reader(std::move(reader))
{
}

X11ClipboardSource::~X11ClipboardSource() = default;

void X11ClipboardSource::fetchFormats(FormatsDone done)
{
    QPointer<X11ClipboardSource> self(this);
    m_worker.post([this, self, done = std::move(done)] {
        const X11ClipboardReader::Snapshot snapshot = m_reader->snapshot();
        QMetaObject::invokeMethod(
            self.data(),
            [self, done, snapshot] {
                if (self)
                    done({snapshot.formats, snapshot.generation});
            },
            Qt::QueuedConnection);
    });
}

void X11ClipboardSource::fetchPayload(const Formats &formats, bool imageFilesAsImages, PayloadDone done)
{
    QPointer<X11ClipboardSource> self(this);
    m_worker.post([this, self, formats, imageFilesAsImages, done = std::move(done)] {
        bool stale = false;
        std::optional<ClipboardPayload> payload = ClipboardPayload::read(
            formats.formats,
            [&](ClipboardParts parts) {
                std::optional<ClipboardContent> content = stale ? std::nullopt : m_reader->read(formats.token, parts);
                stale = stale || !content;
                return content.value_or(ClipboardContent());
            },
            imageFilesAsImages);
        if (stale)
            payload.reset();
        QMetaObject::invokeMethod(
            self.data(),
            [self, done, payload = std::move(payload), stale]() mutable {
                if (self)
                    done(std::move(payload), stale);
            },
            Qt::QueuedConnection);
    });
}

} // namespace corvane

#include "ClipboardSource.h"

#include "ClipboardService.h"

namespace corvane {

void DirectClipboardSource::fetchFormats(FormatsDone done) { done({m_clipboard.formats(), quint64(m_clipboard.changeCount())}); }

void DirectClipboardSource::fetchPayload(const Formats &formats, bool imageFilesAsImages, PayloadDone done)
{
    std::optional<ClipboardPayload> payload = ClipboardPayload::read(
        formats.formats, [this](ClipboardParts parts) { return m_clipboard.read(parts); }, imageFilesAsImages);
    const bool stale = quint64(m_clipboard.changeCount()) != formats.token;
    done(stale ? std::nullopt : std::move(payload), stale);
}

} // namespace corvane

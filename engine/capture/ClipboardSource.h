#pragma once

#include "ClipboardPayload.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace corvane {

class ClipboardService;

/**
 * @brief Where the monitor gets a copy's formats and its payload.
 *
 * Answers may come later but always on the main thread. A payload read names the formats it
 * was judged by and comes back stale when the clipboard has changed since.
 */
class ClipboardSource
{
public:
    struct Formats {
        QStringList formats;
        quint64 token = 0; ///< which copy these formats belong to
    };
    using FormatsDone = std::function<void(const Formats &formats)>;
    using PayloadDone = std::function<void(std::optional<ClipboardPayload> payload, bool stale)>;

    virtual ~ClipboardSource() = default;
    virtual void fetchFormats(FormatsDone done) = 0;
    virtual void fetchPayload(const Formats &formats, bool imageFilesAsImages, PayloadDone done) = 0;
};

/** @brief Reads through the clipboard service on the calling thread, answering at once. */
class DirectClipboardSource : public ClipboardSource
{
public:
    explicit DirectClipboardSource(ClipboardService &clipboard)
        : m_clipboard(clipboard)
    {
    }
    void fetchFormats(FormatsDone done) override;
    void fetchPayload(const Formats &formats, bool imageFilesAsImages, PayloadDone done) override;

private:
    ClipboardService &m_clipboard;
};

} // namespace corvane

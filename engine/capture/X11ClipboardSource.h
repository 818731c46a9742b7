#pragma once

#include "ClipboardSource.h"

#include "SerialWorker.h"

#include <QObject>

#include <memory>

namespace corvane {

class X11ClipboardReader;

/**
 * @brief Reads the clipboard on a thread of its own over a private X connection, so a large
 * copy or an owner that never answers does not stall the interface.
 */
class X11ClipboardSource : public QObject, public ClipboardSource
{
    Q_OBJECT
public:
    /** Nothing when the X server cannot be reached (or lacks the XFixes extension). */
    static std::unique_ptr<X11ClipboardSource> create();
    ~X11ClipboardSource() override;

    void fetchFormats(FormatsDone done) override;
    void fetchPayload(const Formats &formats, bool imageFilesAsImages, PayloadDone done) override;

private:
    explicit X11ClipboardSource(std::unique_ptr<X11ClipboardReader> reader);

    std::unique_ptr<X11ClipboardReader> m_reader; ///< used on the worker thread only
    SerialWorker m_worker{QStringLiteral("Corvane clipboard")};
};

} // namespace corvane

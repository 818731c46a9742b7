#pragma once

#include "ClipboardContent.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace corvane {

/**
 * @brief Reads the CLIPBOARD selection over a private X connection, so reads can run on a
 * worker thread: a large transfer or an owner that never answers blocks only that thread.
 *
 * Every ownership change of the selection moves `generation`. A read names the generation
 * whose formats were judged and fails when the selection changed before or while reading,
 * so content is never attributed to an earlier copy. Use from one thread at a time.
 */
class X11ClipboardReader
{
public:
    /** @brief The formats of one generation of the selection. */
    struct Snapshot {
        quint64 generation = 0;
        /** MIME names as Qt gives them (UTF8_STRING as text/plain), no bookkeeping targets. */
        QStringList formats;
    };

    static constexpr int timeoutMs = 3000;

    /** Connects to @p display (DISPLAY when empty). */
    explicit X11ClipboardReader(const QByteArray &display = {});
    ~X11ClipboardReader();
    X11ClipboardReader(const X11ClipboardReader &) = delete;
    X11ClipboardReader &operator=(const X11ClipboardReader &) = delete;

    bool isConnected() const;

    /** The current generation and its formats; no formats when no one owns the selection. */
    Snapshot snapshot();
    /** The asked parts of @p generation; nothing when the selection has changed since. */
    std::optional<ClipboardContent> read(quint64 generation, ClipboardParts parts);

    /** The MIME name Qt uses for an X11 target name. */
    static QString mimeName(const QString &target);

private:
    struct Private;
    Private *d;
};

} // namespace corvane

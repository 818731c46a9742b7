#pragma once

#include "ClipGroup.h"
#include "ColorTag.h"
#include "OptionalString.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace corvane {

/** @brief Where a clip was copied from: the app and, for a page, its URL. */
struct ClipOrigin {
    std::optional<QString> name;
    std::optional<QString> bundleID;
    std::optional<QString> url;

    bool operator==(const ClipOrigin &) const = default;
};

/**
 * @brief A ClipOrigin shared by the clips copied from one place, compared by value. Never
 * changed in place: a clip given another origin gets its own.
 */
class SharedClipOrigin
{
public:
    SharedClipOrigin() = default;
    explicit SharedClipOrigin(ClipOrigin origin);

    const ClipOrigin &operator*() const { return m_origin ? *m_origin : none(); }
    const ClipOrigin *operator->() const { return &**this; }
    bool operator==(const SharedClipOrigin &other) const { return m_origin == other.m_origin || **this == *other; }

private:
    static const ClipOrigin &none();

    std::shared_ptr<const ClipOrigin> m_origin;
};

/**
 * @brief One history entry as the views and the store hold it.
 *
 * Kept small for histories of a million clips: `text()` is at most `textPrefixLength` characters
 * (see `textIsTruncated`; the full text comes from `ClipDatabase::fullText`), and a loaded clip
 * may hold none, reading it from its history when asked (see ClipTextSource). The full image is
 * never held, and the thumbnail stays PNG-encoded until it is drawn. Dates are seconds since 1970.
 */
struct Clip {
    static constexpr int textPrefixLength = 2000;

    // Eight-byte members first, then the small ones, so the struct has no holes.
    std::int64_t id = 0;
    /** Length of the whole text in characters (code points). */
    std::int64_t textLength = 0;
    std::int64_t byteSize = 0;
    /** The stored mask, unknown bits included, so rewriting it loses nothing. */
    std::int64_t tagMask = 0;
    double createdAt = 0;
    std::optional<double> pinnedAt;
    QSize imageSize;
    ClipGroup group = ClipGroup::text;
    bool textIsTruncated = false;
    bool isPinned = false;
    /** Detection detail (language, token kind), or an image's original file name. */
    OptionalString detail;
    /** The PNG-encoded thumbnail, empty when there is none. */
    QByteArray thumbnailPng;
    /** Held once for the clips of one source (see the accessors below). */
    SharedClipOrigin origin;
    OptionalString summary;
    OptionalString smartTitle;
    OptionalString note;
    /**
     * The preview the database keeps, worked out from the whole text, held only where it differs
     * from the one the text prefix gives (see preview()).
     */
    QString storedPreview;

    /**
     * The text (file clips: the paths, one per line), cut to `textPrefixLength` characters;
     * nothing for clips without text. A clip that holds none reads it through ClipTextSource
     * (one indexed lookup, or the cache): ask for the rows shown, never for every clip.
     */
    std::optional<QString> text() const;
    bool hasText() const { return m_text.has; }
    /** The text when it is held in memory, else null (also while it is read on demand). */
    const QString *heldText() const { return m_text.has && m_text.source == 0 ? &m_text.held : nullptr; }
    /** Holds `text` in memory. */
    void setText(std::optional<QString> text);
    /** Drops a held text: from now on it is read from the history registered as `source`. */
    void readTextFrom(std::uint32_t source);

    /** The known tags of `tagMask`, in ColorTags::allCases order. */
    QList<ColorTag> tags() const;
    /** The one-line preview: `storedPreview`, else worked out from the text (rows ask only for the ones shown). */
    QString preview() const;
    /** The second line of a row. */
    QString subtitle() const;

    /** Decodes `thumbnailPng`; a null image when there is none or it is unreadable. */
    QImage thumbnail() const;
    bool hasThumbnail() const { return !thumbnailPng.isEmpty(); }

    /** Masked text of an unrevealed secret, else the note, else the smart title (when allowed), else the preview. */
    QString displayTitle(bool revealed, bool useSmartTitle) const;
    /** For a file clip holding one path ending in ".app" or ".app/": that path with "~" expanded. */
    std::optional<QString> appBundlePath() const;
    const std::optional<QString> &sourceName() const { return origin->name; }
    const std::optional<QString> &sourceBundleID() const { return origin->bundleID; }
    const std::optional<QString> &sourceURL() const { return origin->url; }
    void setSourceName(std::optional<QString> name);
    void setSourceBundleID(std::optional<QString> bundleID);
    void setSourceURL(std::optional<QString> url);
    /** The host of `sourceURL` without a leading "www.". */
    std::optional<QString> sourceHost() const;
    /** "web:" + host for a web source, else the source bundle id. */
    std::optional<QString> sourceKey() const;
    /** The host, else the source app name, else "Unknown". */
    QString sourceDisplayName() const;
    /** A colour clip's colour as "#RRGGBB" or "#RRGGBBAA", read by ColorParser; empty otherwise. */
    QString swatchHex() const;

    bool operator==(const Clip &) const = default;

private:
    /**
     * @brief The text, held or read on demand. A stored text never changes for its id, so one
     * read on demand equals any other text of the same clip: only two held texts are compared.
     */
    struct TextSlot {
        QString held;
        /** The ClipTextSource key of the history the text is read from; 0 while it is held. */
        std::uint32_t source = 0;
        bool has = false;

        bool operator==(const TextSlot &other) const
        {
            return has == other.has && (source != 0 || other.source != 0 || held == other.held);
        }
    };
    TextSlot m_text;
};

/** The one-line preview of a clip's content, at most 200 characters. */
QString clipPreview(ClipGroup group, const std::optional<QString> &text, QSize imageSize);

/**
 * The second line of a row. `textLength` is the whole text's length in characters, which may
 * exceed `text` when only a prefix is at hand.
 */
QString clipSubtitle(ClipGroup group, const std::optional<QString> &text, std::int64_t textLength,
                     const OptionalString &detail, QSize imageSize, std::int64_t byteSize);

/** Drops `storedPreview` where the text prefix gives the same preview. */
void forgetDerivablePreview(Clip &clip);

} // namespace corvane

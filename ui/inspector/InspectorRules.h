#pragma once

#include "Clip.h"

#include <QString>
#include <QTimeZone>

#include <optional>

namespace corvane {

/** @brief Which of the inspector's optional cards a clip gets, and its title. */
struct InspectorLayout {
    QString kindTitle;
    bool isApplication = false;
    bool linkCard = false;
    bool appCard = false;
    bool summaryCard = false;
    bool qrCode = false;
    /** The text the QR card encodes: the clip's text without surrounding white space. */
    QString qrText;
    bool detailActions = false;

    bool operator==(const InspectorLayout &) const = default;
};

/** @brief Whether Share may run for a clip, and what its help says. */
struct ShareState {
    bool enabled = true;
    QString help;

    bool operator==(const ShareState &) const = default;
};

/**
 * The inspector's layout for `clip` with its whole `text` (the loaded clip may hold a prefix);
 * `hasAppCardInfo` is whether the link previews know the application a file clip points at.
 */
InspectorLayout inspectorLayout(const Clip &clip, const std::optional<QString> &text, bool hasAppCardInfo);

/** "3 chars · 2 words · 1 line" for a text; the byte count of `byteSize` for a clip without one. */
QString textStatistics(const std::optional<QString> &text, std::int64_t byteSize);

/** "host · app", the host alone, the app's name, or "Unknown". */
QString sourceLine(const Clip &clip);

/** A secret shares only once revealed; its help says why until then. */
ShareState shareState(ClipGroup group, bool revealed);

/** When the clip was copied, as "Mar 5, 2025 at 3:42 PM" in `zone`. */
QString copiedDate(double createdAt, const QTimeZone &zone);

} // namespace corvane

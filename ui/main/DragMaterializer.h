#pragma once

#include "DragPlan.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

namespace corvane {

/**
 * @brief Writes dragged images into a private folder: one "Corvane Drag <id>" folder per clip.
 *
 * The base folder must be the user's own (0700, not a link). Files are written 0600 through a
 * temporary file and a rename, so a reader never sees half a picture, and an unchanged file is
 * reused. A planted link, a read error or a failed write falls back to the clip's text.
 */
class DragMaterializer
{
public:
    /** The full PNG bytes of a clip; may throw (database errors). */
    using ImageSource = std::function<std::optional<QByteArray>(std::int64_t id)>;

    DragMaterializer(QString baseFolder, ImageSource images);

    static QString folderName(std::int64_t id);
    const QString &baseFolder() const { return m_base; }

    /** An Image plan becomes ImageFile (or text); other plans pass through. */
    DragPlan materialize(const DragPlan &plan) const;

    /** Removes the folder of one clip. */
    void removeFolder(std::int64_t id) const;
    /** Removes the folders of clips not in `ids` (deleted, pruned, cleared). */
    void removeFoldersExcept(const QSet<std::int64_t> &ids) const;
    /** Removes every drag folder: the start-up clean-up. */
    void removeAll() const { removeFoldersExcept({}); }

private:
    std::optional<QString> write(std::int64_t id, const QString &fileName, const QByteArray &bytes) const;

    QString m_base;
    ImageSource m_images;
};

} // namespace corvane

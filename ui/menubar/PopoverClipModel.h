#pragma once

#include "ClipRef.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QTimeZone>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief The clips of one popover list (pinned cards or recent rows) for QML.
 *
 * Updated in place: unchanged clips keep their rows, so a row's state and the list's scroll
 * position survive a reload. Rows carry their keyboard number (1-9) when `numbered`.
 */
class PopoverClipModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by PopoverViewModel")
    Q_PROPERTY(int count READ count NOTIFY countChanged)

public:
    enum Role {
        ClipIdRole = Qt::UserRole + 1,
        GroupRole,
        TitleRole,
        SubtitleRole,
        GroupNameRole,
        IsPinnedRole,
        HasThumbnailRole,
        ShortcutRole,
        ShortcutLabelRole,
        ColorHexRole,
        ThumbnailUrlRole,
        /** Side of the leading visual: 44 for a thumbnail, 30 for a colour swatch, else 24. */
        LeadingSizeRole,
        /** Whether the title is set in the monospaced font. */
        MonospacedRole,
    };

    explicit PopoverClipModel(bool numbered, QObject *parent = nullptr);

    /** Replaces the list with row removals and insertions rather than a reset. */
    void setClips(const ClipList &clips, const QDateTime &now, const QTimeZone &zone);
    const ClipList &clips() const { return m_clips; }
    int count() const { return int(m_clips.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void countChanged();

private:
    QString subtitle(const Clip &clip) const;

    bool m_numbered;
    ClipList m_clips;
    QDateTime m_now;
    QTimeZone m_zone;
};

} // namespace corvane

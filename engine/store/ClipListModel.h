#pragma once

#include "ClipFilter.h"
#include "ClipRef.h"
#include "IdIndex.h"

#include <QAbstractListModel>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <vector>

namespace corvane {

class ClipboardStore;

/**
 * @brief A list of clips for a view: the store's current filter and search (the default), or a
 * filter and search of its own; optionally cut into the store's sections.
 *
 * Reloads update rows in place (insert, remove, change), never a reset, so a view keeps its
 * selection and scroll position. Rows hold clip ids and read the store's clips, so a list of a
 * million clips follows an edit by the rows that changed.
 */
class ClipListModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("ClipboardStore.h")

    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(bool followStore READ followStore WRITE setFollowStore NOTIFY followStoreChanged)
    Q_PROPERTY(QString filterKey READ filterKey WRITE setFilterKey NOTIFY filterKeyChanged)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    Q_PROPERTY(bool sectioned READ sectioned WRITE setSectioned NOTIFY sectionedChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    /** Moves whenever section titles or sizes change, so views re-read sectionSize(). */
    Q_PROPERTY(int sectionsRevision READ sectionsRevision NOTIFY sectionsChanged)

public:
    enum Role {
        ClipIdRole = Qt::UserRole + 1,
        GroupRole,
        GroupNameRole,
        TitleRole,
        PlainTitleRole,
        PreviewRole,
        ColorHexRole,
        SubtitleRole,
        IsPinnedRole,
        TagsRole,
        ThumbnailUrlRole,
        HasThumbnailRole,
        ImageWidthRole,
        ImageHeightRole,
        SourceKeyRole,
        SourceNameRole,
        SourceIconUrlRole,
        CreatedAtRole,
        NoteRole,
        SummaryRole,
        IsSecretRole,
        IsRevealedRole,
        IsSelectedRole,
        SectionIdRole,
        SectionTitleRole,
        /** "<section id>:<title>": differs between neighbouring sections even when titles repeat. */
        SectionKeyRole,
    };
    Q_ENUM(Role)

    explicit ClipListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    bool followStore() const { return m_followStore; }
    void setFollowStore(bool follow);
    QString filterKey() const;
    void setFilterKey(const QString &key);
    const QString &searchText() const { return m_searchText; }
    void setSearchText(const QString &text);
    bool sectioned() const { return m_sectioned; }
    void setSectioned(bool sectioned);
    int count() const { return int(rows().size()); }

    /** The clip of a row, or null. */
    ClipRef clipAt(int row) const;
    /** The clip id of `row` (which must be a row), without reading the clip. */
    std::int64_t idAt(int row) const { return rows()[std::size_t(row)]; }
    Q_INVOKABLE qint64 clipIdAt(int row) const;
    /** The row of a clip id, or -1. */
    Q_INVOKABLE int rowOf(qint64 id) const;
    Q_INVOKABLE QString sectionTitle(int sectionId) const;
    /** How many rows a section holds, and its first row; 0 and -1 for an unknown section. */
    Q_INVOKABLE int sectionSize(int sectionId) const;
    Q_INVOKABLE int sectionStart(int sectionId) const;
    int sectionsRevision() const { return m_sectionsRevision; }

    /**
     * Reads the list from the store again. It does this itself on every change it observes; a
     * view calls it when the day may have turned, so "Today" becomes "Yesterday".
     */
    Q_INVOKABLE void refresh();

signals:
    void storeChanged();
    void followStoreChanged();
    void filterKeyChanged();
    void searchTextChanged();
    void sectionedChanged();
    void countChanged();
    void sectionsChanged();

private:
    /** Edits the rows into `ids` (with `sections` per row, empty when not sectioned). */
    void apply(std::shared_ptr<const std::vector<std::int64_t>> ids, std::vector<int> sections);
    /** The rows' clip ids: the store's list itself once they match it. */
    const std::vector<std::int64_t> &rows() const { return m_sharedIDs ? *m_sharedIDs : m_ids; }
    /** Tells views about rows whose clips the store replaced since the rows were last read. */
    void clipsReplaced();
    void rolesChangedFor(const QSet<std::int64_t> &ids, const QList<int> &roles);
    void rolesChangedForAll(const QList<int> &roles);
    const IdIndex &rowIndex() const;
    void rowsMoved()
    {
        m_rowIndexValid = false;
        m_lookupsSinceMove = 0;
    }
    ClipFilter currentFilter() const;
    QString currentSearch() const;
    void selectionChanged();

    QPointer<ClipboardStore> m_store;
    bool m_followStore = true;
    ClipFilter m_filter;
    QString m_searchText;
    bool m_sectioned = false;
    /** The rows while they are being changed to match a new list; empty otherwise. */
    std::vector<std::int64_t> m_ids;
    /** The store's list the rows match, shared rather than copied (a million ids otherwise). */
    std::shared_ptr<const std::vector<std::int64_t>> m_sharedIDs;
    /** The store's history revision the rows were read at. */
    std::uint64_t m_revision = 0;
    /** The section id per row; empty unless sectioned. */
    std::vector<int> m_sections;
    QStringList m_sectionTitles;
    std::vector<std::pair<int, int>> m_sectionRanges;
    int m_sectionsRevision = 0;
    QSet<std::int64_t> m_selected;
    QSet<std::int64_t> m_revealed;
    mutable IdIndex m_rowIndex;
    mutable bool m_rowIndexValid = false;
    mutable int m_lookupsSinceMove = 0;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace corvane

#pragma once

#include "ClipListModel.h"
#include "ClipboardStore.h"
#include "PhotoGridLayout.h"

#include <QAbstractListModel>
#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/** The photo caption's first part: the preview with every "Image " taken out. */
QString photoCaption(const QString &preview);

/**
 * @brief The photo grid's lines over a sectioned clip list: each section cut into rows of as many
 * tiles as the pane fits. Follows the list in place (changed rows, rows added or taken at the end),
 * never by a reset, so the grid keeps its scroll position.
 */
class PhotoRowsModel : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipListModel *source READ source WRITE setSource NOTIFY sourceChanged)
    Q_PROPERTY(double paneWidth READ paneWidth WRITE setPaneWidth NOTIFY layoutChanged)
    Q_PROPERTY(int columns READ columns NOTIFY layoutChanged)
    Q_PROPERTY(double columnWidth READ columnWidth NOTIFY layoutChanged)

public:
    enum Role { SectionIdRole = Qt::UserRole + 1, SectionKeyRole, TilesRole };

    explicit PhotoRowsModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    ClipListModel *source() const { return m_source; }
    void setSource(ClipListModel *source);
    double paneWidth() const { return m_paneWidth; }
    void setPaneWidth(double width);
    int columns() const { return m_columns.count; }
    double columnWidth() const { return m_columns.width; }

    /** The grid row holding a clip, or -1 (for scrolling to the selection). */
    Q_INVOKABLE int rowIndexForClip(qint64 id) const;
    /** Brings the rows up to date with the list now (the model does so itself after each change). */
    Q_INVOKABLE void rebuild();

signals:
    void sourceChanged();
    void layoutChanged();

private:
    struct Line {
        int section = -1;
        QString sectionKey;
        QVariantList tiles;
        std::vector<std::int64_t> ids;
        bool operator==(const Line &) const = default;
    };
    void scheduleRebuild();

    QPointer<ClipListModel> m_source;
    double m_paneWidth = 0;
    PhotoGridColumns m_columns = PhotoGridColumns::forPane(0);
    std::vector<Line> m_lines;
    bool m_rebuildPending = false;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace corvane

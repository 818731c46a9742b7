#include "PhotoRowsModel.h"

#include "ClipListModel.h"

#include <QTimer>

namespace corvane {

QString photoCaption(const QString &preview)
{
    QString caption = preview;
    return caption.remove(QStringLiteral("Image "));
}

PhotoRowsModel::PhotoRowsModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

int PhotoRowsModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_lines.size()); }

QHash<int, QByteArray> PhotoRowsModel::roleNames() const
{
    return {{SectionIdRole, "sectionId"}, {SectionKeyRole, "sectionKey"}, {TilesRole, "tiles"}};
}

QVariant PhotoRowsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Line &line = m_lines[std::size_t(index.row())];
    switch (role) {
    case SectionIdRole:
        return line.section;
    case SectionKeyRole:
        return line.sectionKey;
    case TilesRole:
        return line.tiles;
    default:
        return {};
    }
}

void PhotoRowsModel::setSource(ClipListModel *source)
{
    if (source == m_source)
        return;
    for (const auto &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_source = source;
    if (source) {
        auto changed = [this] { scheduleRebuild(); };
        m_connections = {
            connect(source, &QAbstractItemModel::rowsInserted, this, changed),
            connect(source, &QAbstractItemModel::rowsRemoved, this, changed),
            connect(source, &QAbstractItemModel::rowsMoved, this, changed),
            connect(source, &QAbstractItemModel::dataChanged, this, changed),
            connect(source, &QAbstractItemModel::modelReset, this, changed),
        };
    }
    emit sourceChanged();
    rebuild();
}

void PhotoRowsModel::setPaneWidth(double width)
{
    if (width == m_paneWidth)
        return;
    m_paneWidth = width;
    const PhotoGridColumns columns = PhotoGridColumns::forPane(width);
    const bool recut = columns.count != m_columns.count;
    m_columns = columns;
    emit layoutChanged();
    if (recut)
        rebuild();
}

void PhotoRowsModel::scheduleRebuild()
{
    // A reload arrives as many row signals; one rebuild after them is enough.
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QTimer::singleShot(0, this, [this] {
        if (m_rebuildPending)
            rebuild();
    });
}

void PhotoRowsModel::rebuild()
{
    m_rebuildPending = false;
    std::vector<std::int64_t> ids;
    std::vector<int> sections;
    const int count = m_source ? m_source->rowCount() : 0;
    ids.reserve(std::size_t(count));
    sections.reserve(std::size_t(count));
    for (int row = 0; row < count; ++row) {
        ids.push_back(m_source->clipIdAt(row));
        sections.push_back(m_source->index(row).data(ClipListModel::SectionIdRole).toInt());
    }
    std::vector<Line> lines;
    int row = 0;
    for (PhotoRow &chunk : chunkPhotoRows(ids, sections, m_columns.count)) {
        Line line;
        line.section = chunk.section;
        line.sectionKey = m_source->index(row).data(ClipListModel::SectionKeyRole).toString();
        for (std::size_t i = 0; i < chunk.ids.size(); ++i, ++row) {
            const QModelIndex at = m_source->index(row);
            line.tiles << QVariantMap{
                {QStringLiteral("clipId"), qint64(chunk.ids[i])},
                {QStringLiteral("thumbnailUrl"), at.data(ClipListModel::ThumbnailUrlRole)},
                {QStringLiteral("caption"), photoCaption(at.data(ClipListModel::PreviewRole).toString())},
                {QStringLiteral("sourceName"), at.data(ClipListModel::SourceNameRole)},
                {QStringLiteral("tags"), at.data(ClipListModel::TagsRole)},
                {QStringLiteral("isSelected"), at.data(ClipListModel::IsSelectedRole)},
            };
        }
        line.ids = std::move(chunk.ids);
        lines.push_back(std::move(line));
    }
    const int common = int(std::min(lines.size(), m_lines.size()));
    for (int i = 0; i < common; ++i) {
        if (lines[std::size_t(i)] == m_lines[std::size_t(i)])
            continue;
        m_lines[std::size_t(i)] = std::move(lines[std::size_t(i)]);
        emit dataChanged(index(i), index(i));
    }
    if (lines.size() > m_lines.size()) {
        beginInsertRows({}, common, int(lines.size()) - 1);
        std::move(lines.begin() + common, lines.end(), std::back_inserter(m_lines));
        endInsertRows();
    } else if (lines.size() < m_lines.size()) {
        beginRemoveRows({}, common, int(m_lines.size()) - 1);
        m_lines.resize(lines.size());
        endRemoveRows();
    }
}

int PhotoRowsModel::rowIndexForClip(qint64 id) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (std::find(m_lines[i].ids.begin(), m_lines[i].ids.end(), id) != m_lines[i].ids.end())
            return int(i);
    }
    return -1;
}

} // namespace corvane

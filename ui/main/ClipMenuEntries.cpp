#include "ClipMenuEntries.h"

namespace corvane {

void ClipMenuEntries::setEntries(std::vector<MenuEntry> entries)
{
    // A menu is rebuilt as a whole each time it opens; there is no view state to keep.
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

int ClipMenuEntries::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_entries.size()); }

QVariant ClipMenuEntries::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const MenuEntry &e = m_entries.at(size_t(index.row()));
    switch (role) {
    case KindRole:
        switch (e.kind) {
        case MenuEntry::Kind::Action:
            return QStringLiteral("action");
        case MenuEntry::Kind::Separator:
            return QStringLiteral("separator");
        case MenuEntry::Kind::TagsSubmenu:
            return QStringLiteral("tags");
        }
        return {};
    case LabelRole:
        return e.label;
    case IconRole:
        return e.icon;
    case DestructiveRole:
        return e.destructive;
    case CheckedRole:
        return e.checked;
    default:
        return {};
    }
}

QHash<int, QByteArray> ClipMenuEntries::roleNames() const
{
    return {{KindRole, "kind"},
            {LabelRole, "label"},
            {IconRole, "iconName"},
            {DestructiveRole, "destructive"},
            {CheckedRole, "checked"}};
}

} // namespace corvane

#include "DetailActionsModel.h"

#include "DetectDetails.h"

#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

namespace corvane {

DetailActionsModel::DetailActionsModel(QObject *parent)
    : QAbstractListModel(parent)
    , m_scanner([](const QString &text) { return detectDetails(text, cardLimit); })
{
}

void DetailActionsModel::setText(const QString &text)
{
    if (m_text == text && m_generation > 0)
        return;
    m_text = text;
    emit textChanged();
    const quint64 generation = ++m_generation;
    QPointer<DetailActionsModel> self(this);
    QtConcurrent::run([scanner = m_scanner, text] {
        return scanner(text);
    }).then(this, [self, generation](QList<DetectedDetail> details) {
        if (self)
            self->apply(generation, std::move(details));
    });
}

void DetailActionsModel::apply(quint64 generation, QList<DetectedDetail> details)
{
    if (generation != m_generation)
        return;
    // Every scan gives new ids, so the rows are replaced (and animate out and in).
    const int before = int(m_details.size());
    if (before > 0) {
        beginRemoveRows({}, 0, before - 1);
        m_details.clear();
        endRemoveRows();
    }
    if (!details.isEmpty()) {
        beginInsertRows({}, 0, int(details.size()) - 1);
        m_details = std::move(details);
        endInsertRows();
    }
    if (before != m_details.size())
        emit countChanged();
    emit scanApplied();
}

int DetailActionsModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(m_details.size()); }

QVariant DetailActionsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const DetectedDetail &detail = m_details.at(index.row());
    switch (role) {
    case SymbolRole:
        return detail.symbol();
    case LabelRole:
        return detail.label;
    case TitleRole:
        return detail.title();
    case DetailIdRole:
        return detail.id.toString(QUuid::WithoutBraces);
    default:
        return {};
    }
}

QHash<int, QByteArray> DetailActionsModel::roleNames() const
{
    return {{SymbolRole, "symbol"}, {LabelRole, "label"}, {TitleRole, "title"}, {DetailIdRole, "detailId"}};
}

void DetailActionsModel::perform(int row)
{
    if (row >= 0 && row < m_details.size())
        performDetail(m_details.at(row), m_hosts);
}

} // namespace corvane

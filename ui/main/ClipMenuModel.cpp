#include "ClipMenuModel.h"

#include "AppSettings.h"
#include "ClipboardStore.h"
#include "StoreClipActions.h"

namespace corvane {

ClipMenuModel::ClipMenuModel(QObject *parent)
    : QObject(parent)
    , m_entries(new ClipMenuEntries(this))
    , m_tags(new ClipMenuEntries(this))
{
}

ClipMenuModel::~ClipMenuModel() = default;

void ClipMenuModel::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    m_store = store;
    emit storeChanged();
}

bool ClipMenuModel::build(qint64 clipId)
{
    const ClipRef clip = m_store ? m_store->clip(clipId) : ClipRef();
    if (!clip) {
        m_menu.reset();
        m_entries->setEntries({});
        m_tags->setEntries({});
        return false;
    }
    SelectionSnapshot selection;
    selection.selectedIDs = m_store->selectedIDs();
    selection.selectedInOrder = m_store->selectedIDsInOrder();
    const QStringList kept = m_store->settings() ? m_store->settings()->keptSources() : QStringList();
    m_menu.emplace(*clip, selection, m_store->isRevealed(clipId), kept);
    m_entries->setEntries(m_menu->entries());
    m_tags->setEntries(m_menu->tagEntries());
    return true;
}

void ClipMenuModel::perform(int row)
{
    if (!m_menu || !m_store || row < 0 || row >= int(m_menu->entries().size()))
        return;
    StoreClipActions actions(*m_store);
    m_menu->perform(m_menu->entries().at(size_t(row)), actions);
}

void ClipMenuModel::performTag(int row)
{
    if (!m_menu || !m_store || row < 0 || row >= int(m_menu->tagEntries().size()))
        return;
    StoreClipActions actions(*m_store);
    m_menu->perform(m_menu->tagEntries().at(size_t(row)), actions);
}

} // namespace corvane

#pragma once

#include "ClipMenu.h"
#include "ClipMenuEntries.h"

#include "ClipboardStore.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

namespace corvane {

/**
 * @brief The clip context menu for QML: `build(id)` when it opens, then `perform(row)`.
 *
 * The selection is read once, when the menu is built, so what the labels count is what the
 * actions act on even if the selection changes while the menu is open.
 */
class ClipMenuModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(corvane::ClipMenuEntries *entries READ entries CONSTANT)
    Q_PROPERTY(corvane::ClipMenuEntries *tags READ tags CONSTANT)

public:
    explicit ClipMenuModel(QObject *parent = nullptr);
    ~ClipMenuModel() override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    ClipMenuEntries *entries() const { return m_entries; }
    ClipMenuEntries *tags() const { return m_tags; }

    /** Builds the menu of a clip; false when the store does not know it. */
    Q_INVOKABLE bool build(qint64 clipId);
    Q_INVOKABLE void perform(int row);
    Q_INVOKABLE void performTag(int row);

signals:
    void storeChanged();

private:
    QPointer<ClipboardStore> m_store;
    ClipMenuEntries *m_entries;
    ClipMenuEntries *m_tags;
    std::optional<ClipMenu> m_menu;
};

} // namespace corvane

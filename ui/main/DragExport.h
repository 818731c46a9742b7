#pragma once

#include "DragMaterializer.h"
#include "DragPlan.h"

#include "ClipboardStore.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>

#include <QQuickItem>

namespace corvane {

/**
 * @brief Drags clips out of the app: plans the payload, writes an image file when needed and
 * runs the drag. Also keeps the private drag folder tidy: folders of clips that left the
 * history are removed, and every old folder at the first use in a process.
 */
class DragExport : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)

public:
    explicit DragExport(QObject *parent = nullptr);
    ~DragExport() override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    /** The folder the clip folders go in; the desktop's private temporary folder when unset. */
    void setBaseFolder(const QString &folder);

    /** What dragging these clips would give, image file written. */
    DragPlan prepare(const QList<std::int64_t> &ids);
    /** Starts a drag of the clips from `source`; false when there is nothing to drag. */
    Q_INVOKABLE bool start(const QVariantList &ids, QQuickItem *source);

signals:
    void storeChanged();

private:
    DragMaterializer &materializer();
    void removeGoneFolders();

    QPointer<ClipboardStore> m_store;
    QString m_base;
    std::unique_ptr<DragMaterializer> m_materializer;
};

} // namespace corvane

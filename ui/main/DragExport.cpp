#include "DragExport.h"

#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "DragMimeData.h"
#include "DragPreview.h"
#include "DesktopAccess.h"

#include <QDir>
#include <QDrag>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPixmap>
#include <QQuickItem>
#include <QQuickWindow>

namespace corvane {

DragExport::DragExport(QObject *parent)
    : QObject(parent)
{
}

DragExport::~DragExport() = default;

void DragExport::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    if (m_store)
        disconnect(m_store, nullptr, this, nullptr);
    m_store = store;
    if (m_store) {
        static bool cleanedAtStart = false;
        if (!std::exchange(cleanedAtStart, true))
            materializer().removeAll();
        connect(m_store, &ClipboardStore::clipsChanged, this, &DragExport::removeGoneFolders);
    }
    emit storeChanged();
}

void DragExport::setBaseFolder(const QString &folder)
{
    m_base = folder;
    m_materializer.reset();
}

DragMaterializer &DragExport::materializer()
{
    if (!m_materializer) {
        if (m_base.isEmpty())
            m_base = privateFolder().value_or(QString());
        m_materializer = std::make_unique<DragMaterializer>(m_base, [this](std::int64_t id) {
            ClipDatabase *db = m_store ? m_store->database() : nullptr;
            return db ? db->imageData(id) : std::nullopt;
        });
    }
    return *m_materializer;
}

void DragExport::removeGoneFolders()
{
    if (!m_store)
        return;
    const QString base = materializer().baseFolder();
    if (base.isEmpty())
        return;
    const QStringList entries
        = QDir(base).entryList({QStringLiteral("Corvane Drag *")}, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    QSet<std::int64_t> keep;
    for (const QString &entry : entries) {
        const std::int64_t id = entry.section(u' ', -1).toLongLong();
        if (m_store->clip(id))
            keep.insert(id);
    }
    if (keep.size() < entries.size())
        materializer().removeFoldersExcept(keep);
}

DragPlan DragExport::prepare(const QList<std::int64_t> &ids)
{
    if (!m_store)
        return {};
    QList<Clip> clips;
    for (std::int64_t id : ids) {
        if (const ClipRef clip = m_store->clip(id))
            clips.append(*clip);
    }
    DragEnvironment env;
    env.homePath = QDir::homePath();
    env.pathExists = [](const QString &path) { return QFileInfo::exists(path); };
    env.hasDatabase = m_store->hasDatabase();
    env.fullText = [store = m_store](std::int64_t id) { return store ? store->fullText(id) : std::nullopt; };
    return materializer().materialize(planDrag(clips, env));
}

bool DragExport::start(const QVariantList &ids, QQuickItem *source)
{
    QList<std::int64_t> list;
    for (const QVariant &id : ids)
        list << id.toLongLong();
    const DragPlan plan = prepare(list);
    if (plan.kind == DragPlan::Kind::None || !source || !m_store)
        return false;
    ClipRef first;
    for (std::int64_t id : list) {
        if ((first = m_store->clip(id)))
            break;
    }
    // Owned here, not by the row: the row may go while a drop target still reads the data.
    auto *drag = new QDrag(this);
    drag->setMimeData(new DragMimeData(plan));
    const qreal dpr = source->window() ? source->window()->effectiveDevicePixelRatio() : qApp->devicePixelRatio();
    const QImage preview = dragPreview(*first, int(list.size()), dpr);
    drag->setPixmap(QPixmap::fromImage(preview));
    drag->setHotSpot(QPoint(int(preview.width() / dpr / 2), int(preview.height() / dpr / 2)));
    // A drop target asks for the bytes after exec() returns; Qt deletes a dropped drag once the
    // target says it is finished. Only a drag that dropped nowhere is ours to delete.
    if (drag->exec(Qt::CopyAction) == Qt::IgnoreAction)
        drag->deleteLater();
    return true;
}

} // namespace corvane

#include "ShareController.h"

#include "DesktopAccess.h"
#include "DesktopServices.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace corvane {
namespace {

QString xdgEmail() { return QStandardPaths::findExecutable(QStringLiteral("xdg-email")); }

} // namespace

ShareController::ShareController(QObject *parent)
    : QObject(parent)
{
}

void ShareController::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    m_store = store;
    emit storeChanged();
}

void ShareController::setClipId(qint64 id)
{
    if (m_clipId == id)
        return;
    m_clipId = id;
    m_items.clear();
    emit clipIdChanged();
    emit itemsChanged();
}

bool ShareController::prepare()
{
    m_items.clear();
    if (m_store) {
        if (const ClipRef clip = m_store->clip(m_clipId)) {
            ClipboardStore *store = m_store;
            const ShareSources sources{[store](std::int64_t id) { return store->fullImage(id); },
                                       [](const QString &path) { return QFileInfo::exists(path); }, QDir::homePath()};
            const std::optional<QString> text = clip->textIsTruncated ? store->fullText(clip->id) : clip->text();
            m_items = shareItems(*clip, text, sources);
        }
    }
    emit itemsChanged();
    return !m_items.isEmpty();
}

bool ShareController::canEmail() const
{
    if (m_items.isEmpty())
        return false;
    if (mailtoUrl(m_items))
        return true;
    const auto kind = m_items.first().kind;
    return (kind == ShareItem::Kind::image || kind == ShareItem::Kind::files) && !xdgEmail().isEmpty();
}

bool ShareController::savesFolder() const { return !m_items.isEmpty() && m_items.first().kind == ShareItem::Kind::files; }

QUrl ShareController::suggestedFile() const
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QUrl::fromLocalFile(savesFolder() ? folder : QDir(folder).filePath(suggestedFileName(m_items)));
}

QStringList ShareController::attachments()
{
    const ShareItem &item = m_items.first();
    QStringList paths;
    if (item.kind == ShareItem::Kind::files) {
        for (const QUrl &url : item.files)
            paths << url.toLocalFile();
        return paths;
    }
    // The image goes to the private folder first: the mail program attaches a file.
    const auto folder = privateFolder();
    if (!folder)
        return {};
    const QString path = QDir(*folder).filePath(QStringLiteral("Image %1.png").arg(m_clipId));
    if (saveShareItems(m_items, path))
        return {};
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return {path};
}

void ShareController::email()
{
    if (m_items.isEmpty())
        return;
    if (const auto url = mailtoUrl(m_items)) {
        if (DesktopServices *desktop = inspectorDesktop())
            desktop->openUrl(*url);
        return;
    }
    const QString program = xdgEmail();
    const QStringList paths = program.isEmpty() ? QStringList() : attachments();
    if (paths.isEmpty())
        return;
    QStringList arguments;
    for (const QString &path : paths)
        arguments << QStringLiteral("--attach") << path;
    QProcess::startDetached(program, arguments);
}

bool ShareController::saveTo(const QUrl &target)
{
    if (m_items.isEmpty() || !target.isLocalFile())
        return false;
    if (const auto error = saveShareItems(m_items, target.toLocalFile())) {
        if (m_store)
            m_store->showNotice(QStringLiteral("Couldn’t save: ") + *error, Notice::Kind::warning);
        return false;
    }
    return true;
}

} // namespace corvane

#pragma once

#include "ClipboardStore.h"
#include "ShareItems.h"

#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief The Share menu of a clip: `prepare()` reads the clip's items when the button is
 * pressed, then "Email…" (a mailto: draft, or xdg-email with attachments) and "Save to File…".
 */
class ShareController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(qint64 clipId READ clipId WRITE setClipId NOTIFY clipIdChanged)
    Q_PROPERTY(bool hasItems READ hasItems NOTIFY itemsChanged)
    Q_PROPERTY(bool canEmail READ canEmail NOTIFY itemsChanged)
    Q_PROPERTY(bool savesFolder READ savesFolder NOTIFY itemsChanged)
    Q_PROPERTY(QUrl suggestedFile READ suggestedFile NOTIFY itemsChanged)

public:
    explicit ShareController(QObject *parent = nullptr);

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    qint64 clipId() const { return m_clipId; }
    void setClipId(qint64 id);
    bool hasItems() const { return !m_items.isEmpty(); }
    bool canEmail() const;
    /** Files are copied into a folder the user picks. */
    bool savesFolder() const;
    QUrl suggestedFile() const;
    const QList<ShareItem> &items() const { return m_items; }

    /** Reads the clip's items now; false when there is nothing to share. */
    Q_INVOKABLE bool prepare();
    Q_INVOKABLE void email();
    /** Writes to the chosen file or folder; a failure becomes a warning notice. */
    Q_INVOKABLE bool saveTo(const QUrl &target);

signals:
    void storeChanged();
    void clipIdChanged();
    void itemsChanged();

private:
    QStringList attachments();

    QPointer<ClipboardStore> m_store;
    qint64 m_clipId = 0;
    QList<ShareItem> m_items;
};

} // namespace corvane

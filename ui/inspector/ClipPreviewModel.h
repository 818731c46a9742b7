#pragma once

#include "ClipboardStore.h"
#include "Theme.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

namespace corvane {

/**
 * @brief Everything ClipPreview shows for one clip of the store, and its buttons' actions.
 * Follows the store: a reload or a reveal updates it.
 */
class ClipPreviewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(qint64 clipId READ clipId WRITE setClipId NOTIFY clipIdChanged)
    Q_PROPERTY(QString kind READ kind NOTIFY changed)
    Q_PROPERTY(QString group READ group NOTIFY changed)
    Q_PROPERTY(QString text READ text NOTIFY changed)
    Q_PROPERTY(QColor color READ color NOTIFY changed)
    Q_PROPERTY(QString hex READ hex NOTIFY changed)
    Q_PROPERTY(QString rgb READ rgb NOTIFY changed)
    Q_PROPERTY(QString hsl READ hsl NOTIFY changed)
    Q_PROPERTY(QString host READ host NOTIFY changed)
    Q_PROPERTY(QString path READ path NOTIFY changed)
    Q_PROPERTY(bool canOpenInBrowser READ canOpenInBrowser NOTIFY changed)
    Q_PROPERTY(bool revealed READ revealed NOTIFY changed)
    Q_PROPERTY(QString secretText READ secretText NOTIFY changed)
    Q_PROPERTY(bool canComposeEmail READ canComposeEmail NOTIFY changed)
    Q_PROPERTY(bool canShowInFiles READ canShowInFiles NOTIFY changed)
    Q_PROPERTY(bool monospaced READ monospaced NOTIFY changed)
    Q_PROPERTY(qreal fontPointSize READ fontPointSize NOTIFY changed)
    Q_PROPERTY(int lineSpacing READ lineSpacing NOTIFY changed)
    Q_PROPERTY(QUrl imageSource READ imageSource NOTIFY changed)
    Q_PROPERTY(QUrl thumbnailSource READ thumbnailSource NOTIFY changed)

public:
    /** The text preview lays out at most this many characters, so a huge clip cannot stall the view. */
    static constexpr int displayLimit = 100'000;

    explicit ClipPreviewModel(QObject *parent = nullptr);

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    qint64 clipId() const { return m_clipId; }
    void setClipId(qint64 id);

    QString kind() const { return m_kind; }
    QString group() const { return m_group; }
    QString text() const { return m_text; }
    QColor color() const { return m_color; }
    QString hex() const { return m_hex; }
    QString rgb() const { return m_rgb; }
    QString hsl() const { return m_hsl; }
    QString host() const { return m_host; }
    QString path() const { return m_path; }
    bool canOpenInBrowser() const { return m_browserUrl.has_value(); }
    bool revealed() const { return m_revealed; }
    QString secretText() const { return m_secretText; }
    bool canComposeEmail() const { return m_emailUrl.has_value(); }
    bool canShowInFiles() const { return m_filePath.has_value(); }
    bool monospaced() const { return m_style.monospaced; }
    qreal fontPointSize() const { return m_style.pointSize; }
    int lineSpacing() const { return m_style.lineSpacing; }
    QUrl imageSource() const { return m_imageSource; }
    QUrl thumbnailSource() const { return m_thumbnailSource; }

    Q_INVOKABLE void openInBrowser();
    Q_INVOKABLE void composeEmail();
    Q_INVOKABLE void showInFiles();
    Q_INVOKABLE void toggleReveal();
    /** Puts a value on the clipboard directly, so the monitor records it as a new clip. */
    Q_INVOKABLE void copyValue(const QString &value);

signals:
    void storeChanged();
    void clipIdChanged();
    void changed();

private:
    void refresh();

    QPointer<ClipboardStore> m_store;
    qint64 m_clipId = 0;
    QMetaObject::Connection m_clipsConnection, m_revealConnection;
    QString m_kind = QStringLiteral("text");
    QString m_group;
    QString m_text;
    QColor m_color;
    QString m_hex, m_rgb, m_hsl, m_host, m_path, m_secretText;
    std::optional<QUrl> m_browserUrl, m_emailUrl;
    std::optional<QString> m_filePath;
    bool m_revealed = false;
    struct Style {
        bool monospaced = false;
        qreal pointSize = Theme::bodySize();
        int lineSpacing = 3;
    } m_style;
    QUrl m_imageSource, m_thumbnailSource;
};

} // namespace corvane

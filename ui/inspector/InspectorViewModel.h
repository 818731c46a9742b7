#pragma once

#include "ClipboardStore.h"
#include "CopyFeedback.h"
#include "InspectorRules.h"

#include <QObject>
#include <QPointer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

namespace corvane {

class Clock;
class LinkPreviewService;

/**
 * @brief What the inspector pane shows for the store's selected clip (looked up in the whole
 * history, so a clip the search hides stays shown) and its actions. Follows selection, reloads and
 * reveals. The Size row of a long text is counted on a worker thread.
 */
class InspectorViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(QVariant shownClipId READ shownClipId WRITE setShownClipId NOTIFY shownClipIdChanged)
    Q_PROPERTY(bool hasClip READ hasClip NOTIFY changed)
    Q_PROPERTY(qint64 clipId READ clipId NOTIFY changed)
    Q_PROPERTY(QString group READ group NOTIFY changed)
    Q_PROPERTY(QString kindTitle READ kindTitle NOTIFY changed)
    Q_PROPERTY(QString secondLine READ secondLine NOTIFY changed)
    Q_PROPERTY(QString subtitle READ subtitle NOTIFY changed)
    Q_PROPERTY(bool isPinned READ isPinned NOTIFY changed)
    Q_PROPERTY(bool showsLinkCard READ showsLinkCard NOTIFY changed)
    Q_PROPERTY(bool showsAppCard READ showsAppCard NOTIFY changed)
    Q_PROPERTY(QString appName READ appName NOTIFY changed)
    Q_PROPERTY(QString appIcon READ appIcon NOTIFY changed)
    Q_PROPERTY(QString appPath READ appPath NOTIFY changed)
    Q_PROPERTY(bool showsSummary READ showsSummary NOTIFY changed)
    Q_PROPERTY(QString summary READ summary NOTIFY changed)
    Q_PROPERTY(QString smartTitle READ smartTitle NOTIFY changed)
    Q_PROPERTY(bool showsQRCode READ showsQRCode NOTIFY changed)
    Q_PROPERTY(QString qrText READ qrText NOTIFY changed)
    Q_PROPERTY(bool showsDetailActions READ showsDetailActions NOTIFY changed)
    Q_PROPERTY(QString detailText READ detailText NOTIFY changed)
    Q_PROPERTY(QVariantList tags READ tags NOTIFY changed)
    Q_PROPERTY(QString sourceKey READ sourceKey NOTIFY changed)
    Q_PROPERTY(QString sourceLine READ sourceLine NOTIFY changed)
    Q_PROPERTY(QString copiedDate READ copiedDate NOTIFY changed)
    Q_PROPERTY(QString sizeText READ sizeText NOTIFY sizeTextChanged)
    Q_PROPERTY(bool shareEnabled READ shareEnabled NOTIFY changed)
    Q_PROPERTY(QString shareHelp READ shareHelp NOTIFY changed)
    Q_PROPERTY(QString pinTitle READ pinTitle NOTIFY changed)
    Q_PROPERTY(QString pinImage READ pinImage NOTIFY changed)
    Q_PROPERTY(bool copied READ copied NOTIFY copiedChanged)

public:
    /** Texts longer than this are counted off the GUI thread. */
    static constexpr int syncStatisticsLimit = 20'000;

    /** For QML: the system clock and the app's link previews. */
    explicit InspectorViewModel(QObject *parent = nullptr);
    InspectorViewModel(Clock &clock, LinkPreviewService *previews, QObject *parent = nullptr);
    ~InspectorViewModel() override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);

    /** A clip id to show instead of the selection (Quick Look); null follows the selection. */
    QVariant shownClipId() const { return m_shownClipId; }
    void setShownClipId(const QVariant &id);

    bool hasClip() const { return m_clipId.has_value(); }
    qint64 clipId() const { return m_clipId.value_or(0); }
    QString group() const { return m_group; }
    QString kindTitle() const { return m_layout.kindTitle; }
    QString secondLine() const { return m_secondLine; }
    QString subtitle() const { return m_subtitle; }
    bool isPinned() const { return m_isPinned; }
    bool showsLinkCard() const { return m_layout.linkCard; }
    bool showsAppCard() const { return m_layout.appCard; }
    QString appName() const { return m_appName; }
    QString appIcon() const { return m_appIcon; }
    QString appPath() const { return m_appPath; }
    bool showsSummary() const { return m_layout.summaryCard; }
    QString summary() const { return m_summary; }
    QString smartTitle() const { return m_smartTitle; }
    bool showsQRCode() const { return m_layout.qrCode; }
    QString qrText() const { return m_layout.qrText; }
    bool showsDetailActions() const { return m_layout.detailActions; }
    QString detailText() const { return m_layout.detailActions ? m_text.value_or(QString()) : QString(); }
    QVariantList tags() const { return m_tags; }
    QString sourceKey() const { return m_sourceKey; }
    QString sourceLine() const { return m_sourceLine; }
    QString copiedDate() const { return m_copiedDate; }
    QString sizeText() const { return m_sizeText; }
    bool shareEnabled() const { return m_share.enabled; }
    QString shareHelp() const { return m_share.help; }
    QString pinTitle() const { return m_isPinned ? QStringLiteral("Unpin") : QStringLiteral("Pin"); }
    QString pinImage() const { return m_isPinned ? QStringLiteral("pin.slash") : QStringLiteral("pin"); }
    bool copied() const { return m_feedback.copied(); }

    /** Copy to Clipboard: the check mark shows only when the store wrote the clip. */
    Q_INVOKABLE bool copy();
    Q_INVOKABLE void addToStack();
    Q_INVOKABLE void togglePin();
    Q_INVOKABLE void deleteClip();
    Q_INVOKABLE void openApp();

signals:
    void storeChanged();
    void shownClipIdChanged();
    void changed();
    void sizeTextChanged();
    void copiedChanged();

private:
    void refresh();
    void setSizeText(const QString &text);

    QPointer<ClipboardStore> m_store;
    LinkPreviewService *m_previews = nullptr;
    QList<QMetaObject::Connection> m_connections;
    CopyFeedback m_feedback;
    bool m_followsStoreClock = false;

    QVariant m_shownClipId;
    std::optional<std::int64_t> m_clipId;
    std::optional<QString> m_text;
    qint64 m_textLength = -1;
    quint64 m_statisticsGeneration = 0;
    InspectorLayout m_layout;
    ShareState m_share;
    QString m_group, m_secondLine, m_subtitle, m_appName, m_appIcon, m_appPath, m_summary, m_smartTitle;
    QString m_sourceKey, m_sourceLine, m_copiedDate, m_sizeText;
    QVariantList m_tags;
    bool m_isPinned = false;
};

} // namespace corvane

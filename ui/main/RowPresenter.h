#pragma once

#include "Clip.h"
#include "LinkCard.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class QJSEngine;
class QQmlEngine;

namespace corvane {

class ClipboardStore;

/**
 * @brief Where rows get their app cards from: the link-preview service, set up with the views
 * (installUi); without one every app clip shows the badge symbol and its own title.
 */
struct AppCardSource {
    std::function<std::optional<AppCardInfo>(const Clip &)> cardFor;
    /** Asks for the card of an App Store link; `cardsChanged` follows when it arrives. */
    std::function<void(const Clip &)> load;
};

namespace RowPresenter {

enum class Leading { appBadge, thumbnail, visual };

/** Groups whose titles are set in the monospaced font. */
bool monospacedTitle(ClipGroup group);
/** At most 1 line for the monospaced groups and images, else 2. */
int titleLines(ClipGroup group);
/**
 * Width of an image's leading picture (its height is 96): the aspect of `imageSize`, else of the
 * thumbnail, gives 96·min(a, 2.2) above 0.5, else 48, capped at 120; 96 when the height is not
 * positive.
 */
double thumbnailWidth(QSize imageSize, QSize thumbnailSize);
/** An app clip (App Store link or app path) gets the badge; an image with a thumbnail its picture. */
Leading leading(const Clip &clip);
/** Whether the badge should ask the link-preview service for the app's card. */
bool loadsAppCard(const Clip &clip);
/** The app's name for an app clip without a note, never for a secret; else the clip's own title. */
QString title(const Clip &clip, bool revealed, bool showSummaries, const std::optional<AppCardInfo> &card);
/** The caption: with summaries shown and one present, the summary; else the subtitle. */
struct Caption {
    bool isSummary = false;
    QString groupName; ///< empty for a summary
    QString text;
};
Caption caption(const Clip &clip, bool showSummaries);

} // namespace RowPresenter

/**
 * @brief The row's rules for QML, over the store's clips by id: leading picture, title, caption,
 * age. `cardsRevision` moves when app cards arrive, so titles and badges bound to it redraw.
 */
class ClipRowRules : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(int cardsRevision READ cardsRevision NOTIFY cardsChanged)

public:
    using QObject::QObject;

    static ClipRowRules &instance();
    static ClipRowRules *create(QQmlEngine *, QJSEngine *);
    /** Where app cards come from; an empty source turns them off. */
    void setAppCardSource(AppCardSource source);
    /** The app cards changed (the source calls this when one arrives). */
    void notifyCardsChanged();
    int cardsRevision() const { return m_cardsRevision; }

    Q_INVOKABLE bool monospaced(const QString &group) const;
    Q_INVOKABLE int titleLines(const QString &group) const;
    /**
     * {leading: "app"|"thumbnail"|"visual", title, appIcon, captionIsSummary, captionGroup,
     * captionText, thumbnailWidth (thumbnails only)} for a clip of `store`; `revision` only makes bindings re-read.
     */
    Q_INVOKABLE QVariantMap present(QObject *store, qint64 clipId, bool revealed, int revision) const;
    /** Starts loading the app card of an App Store link row. */
    Q_INVOKABLE void loadCard(QObject *store, qint64 clipId) const;
    /** "just now", "5 min ago", … for a clip created at `createdAt` (seconds); `tick` re-asks. */
    Q_INVOKABLE QString age(QObject *store, double createdAt, const QDateTime &tick) const;

signals:
    void cardsChanged();

private:
    std::optional<AppCardInfo> cardFor(const Clip &clip) const;

    AppCardSource m_source;
    int m_cardsRevision = 0;
};

} // namespace corvane

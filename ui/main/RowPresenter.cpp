#include "RowPresenter.h"

#include "AppSettings.h"
#include "ClipText.h"
#include "ClipboardStore.h"
#include "ProcessSingleton.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace corvane {

namespace RowPresenter {

bool monospacedTitle(ClipGroup group) { return ClipGroups::isCodeLike(group); }

int titleLines(ClipGroup group) { return monospacedTitle(group) || group == ClipGroup::image ? 1 : 2; }

double thumbnailWidth(QSize imageSize, QSize thumbnailSize)
{
    const QSize size = imageSize.isEmpty() && !thumbnailSize.isEmpty() ? thumbnailSize : imageSize;
    if (size.height() <= 0)
        return 96;
    const double aspect = double(size.width()) / size.height();
    // A NaN aspect fails the comparison and takes the narrow width.
    const double width = aspect > 0.5 ? 96 * std::min(aspect, 2.2) : 48;
    return std::min(width, 120.0);
}

bool loadsAppCard(const Clip &clip)
{
    return clip.group == ClipGroup::link && ClipText::appStoreID(clip.text().value_or(QString())).has_value();
}

Leading leading(const Clip &clip)
{
    if (loadsAppCard(clip) || clip.appBundlePath())
        return Leading::appBadge;
    if (clip.group == ClipGroup::image && clip.hasThumbnail())
        return Leading::thumbnail;
    return Leading::visual;
}

QString title(const Clip &clip, bool revealed, bool showSummaries, const std::optional<AppCardInfo> &card)
{
    const bool hasNote = clip.note && !clip.note->isEmpty();
    if (!hasNote && clip.group != ClipGroup::secret && card && card->name)
        return *card->name;
    return clip.displayTitle(revealed, showSummaries);
}

Caption caption(const Clip &clip, bool showSummaries)
{
    if (showSummaries && clip.summary)
        return {true, QString(), *clip.summary};
    return {false, ClipGroups::displayName(clip.group), clip.subtitle()};
}

} // namespace RowPresenter

ClipRowRules &ClipRowRules::instance()
{
    static ClipRowRules rules;
    return rules;
}

ClipRowRules *ClipRowRules::create(QQmlEngine *, QJSEngine *) { return processSingleton<ClipRowRules>(); }

void ClipRowRules::setAppCardSource(AppCardSource source)
{
    m_source = std::move(source);
    notifyCardsChanged();
}

void ClipRowRules::notifyCardsChanged()
{
    ++m_cardsRevision;
    emit cardsChanged();
}

std::optional<AppCardInfo> ClipRowRules::cardFor(const Clip &clip) const
{
    return m_source.cardFor ? m_source.cardFor(clip) : std::nullopt;
}

bool ClipRowRules::monospaced(const QString &group) const
{
    const auto g = ClipGroups::fromRawValue(group);
    return g && RowPresenter::monospacedTitle(*g);
}

int ClipRowRules::titleLines(const QString &group) const
{
    return RowPresenter::titleLines(ClipGroups::fromRawValue(group).value_or(ClipGroup::text));
}

QVariantMap ClipRowRules::present(QObject *storeObject, qint64 clipId, bool revealed, int) const
{
    auto *store = qobject_cast<ClipboardStore *>(storeObject);
    const ClipRef clip = store ? store->clip(clipId) : nullptr;
    if (!clip)
        return {};
    const bool summaries = store->settings()->showSummariesInList();
    const RowPresenter::Leading leading = RowPresenter::leading(*clip);
    const std::optional<AppCardInfo> card = leading == RowPresenter::Leading::appBadge ? cardFor(*clip) : std::nullopt;
    const RowPresenter::Caption caption = RowPresenter::caption(*clip, summaries);
    QVariantMap out{
        {QStringLiteral("leading"),
         leading == RowPresenter::Leading::appBadge        ? QStringLiteral("app")
             : leading == RowPresenter::Leading::thumbnail ? QStringLiteral("thumbnail")
                                                           : QStringLiteral("visual")},
        {QStringLiteral("title"), RowPresenter::title(*clip, revealed, summaries, card)},
        {QStringLiteral("appIcon"), card ? card->iconSource.value_or(QString()) : QString()},
        {QStringLiteral("captionIsSummary"), caption.isSummary},
        {QStringLiteral("captionGroup"), caption.groupName},
        {QStringLiteral("captionText"), caption.text},
    };
    if (leading == RowPresenter::Leading::thumbnail) {
        // The header alone gives the thumbnail's size; nothing is decoded here.
        QSize thumbSize;
        if (clip->imageSize.isEmpty()) {
            QByteArray png = clip->thumbnailPng;
            QBuffer buffer(&png);
            thumbSize = QImageReader(&buffer).size();
        }
        out.insert(QStringLiteral("thumbnailWidth"), RowPresenter::thumbnailWidth(clip->imageSize, thumbSize));
    }
    return out;
}

void ClipRowRules::loadCard(QObject *storeObject, qint64 clipId) const
{
    auto *store = qobject_cast<ClipboardStore *>(storeObject);
    const ClipRef clip = store ? store->clip(clipId) : nullptr;
    if (clip && m_source.load && RowPresenter::loadsAppCard(*clip))
        m_source.load(*clip);
}

QString ClipRowRules::age(QObject *storeObject, double createdAt, const QDateTime &) const
{
    // The store's clock, so ages agree with the day sections; the list's tick only re-asks.
    auto *store = qobject_cast<ClipboardStore *>(storeObject);
    const QTimeZone zone = store ? store->timeZone() : QTimeZone::systemTimeZone();
    const QDateTime now = store ? store->now() : QDateTime::currentDateTime();
    return ClipText::relativeTime(QDateTime::fromMSecsSinceEpoch(qint64(createdAt * 1000), zone), now, zone);
}

} // namespace corvane

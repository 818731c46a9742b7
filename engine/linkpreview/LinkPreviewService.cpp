#include "LinkPreviewService.h"

#include "AppSettings.h"
#include "Clip.h"
#include "ClipDatabase.h"
#include "ClipboardStore.h"
#include "Clock.h"
#include "DesktopServices.h"
#include "LinkCard.h"
#include "PreviewParsing.h"

#include <QFutureWatcher>
#include <QImageReader>
#include <QtConcurrent>
#include <QBuffer>

namespace corvane {
namespace {

using LinkPreviewParsing::previewKey;

/** The preview keys of link clips. */
QSet<QString> liveKeys(const ClipList &links)
{
    QSet<QString> live;
    for (const ClipRef &clip : links) {
        if (clip->text)
            live.insert(previewKey(*clip));
    }
    return live;
}

// Stored bytes count as a picture only when their header reads as one; decoding waits for a view.
QByteArray readablePicture(const std::optional<QByteArray> &bytes)
{
    if (!bytes || bytes->isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return reader.canRead() && reader.size().isValid() ? *bytes : QByteArray();
}

QString kindName(LinkCardState::Kind kind)
{
    switch (kind) {
    case LinkCardState::Kind::loading:
        return QStringLiteral("loading");
    case LinkCardState::Kind::preview:
        return QStringLiteral("preview");
    case LinkCardState::Kind::appCard:
        return QStringLiteral("app");
    case LinkCardState::Kind::none:
        break;
    }
    return QStringLiteral("none");
}

QString pictureSource(const QString &key, const char *which, int revision)
{
    return QStringLiteral("image://linkpreview/%1/%2?r=%3")
        .arg(QString::fromLatin1(QUrl::toPercentEncoding(key)), QLatin1String(which), QString::number(revision));
}

} // namespace

LinkPreviewService::LinkPreviewService(const Services &services, QObject *parent)
    : QObject(parent)
    , m_hosts(services.hosts)
    , m_http(services.http)
    , m_siteIcons(services.siteIcons)
    , m_clock(services.clock)
    , m_desktop(services.desktop)
{
    Q_ASSERT(m_http && m_clock);
}

LinkPreviewService::~LinkPreviewService() = default;

void LinkPreviewService::loadPreview(const Clip &clip, ClipboardStore &store)
{
    if (clip.group != ClipGroup::link || !store.settings()->internetPreviewsEnabled() || !clip.text)
        return;
    const QString key = previewKey(clip);
    const auto url = LinkPreviewParsing::previewURL(key, m_hosts);
    if (!url || m_previews.contains(key) || m_loading.contains(key) || hasFailed(key))
        return;
    follow(store);
    if (ClipDatabase *database = store.database()) {
        std::optional<ClipDatabase::LinkPreviewRecord> record;
        try {
            record = database->linkPreview(key);
        } catch (const ClipDatabase::Error &) {
            // A cache that cannot be read is a miss.
        }
        if (record) {
            {
                QMutexLocker lock(&m_mutex);
                m_previews.insert(
                    key,
                    LinkPreview{record->title, record->siteName, readablePicture(record->image), readablePicture(record->icon)});
            }
            emit previewChanged(key);
            bump();
            return;
        }
    }
    m_loading.insert(key);
    m_queue.append(Pending{key, *url, &store});
    bump();
    startFetches();
}

void LinkPreviewService::loadPreview(qint64 clipID, ClipboardStore *store)
{
    if (!store)
        return;
    if (const ClipRef clip = store->clip(clipID))
        loadPreview(*clip, *store);
}

void LinkPreviewService::startFetches()
{
    while (m_running.size() < maxConcurrentFetches && !m_queue.isEmpty()) {
        const Pending next = m_queue.takeFirst();
        auto *pipeline = new PreviewPipeline(m_hosts, *m_http, m_siteIcons, this);
        m_running.insert(next.key, pipeline);
        pipeline->run(next.url, [this, next, pipeline](std::optional<LinkPreview> preview) {
            m_running.remove(next.key);
            pipeline->deleteLater();
            complete(next.key, preview, next.store);
            startFetches();
        });
    }
}

void LinkPreviewService::complete(const QString &key, const std::optional<LinkPreview> &preview, ClipboardStore *store)
{
    m_loading.remove(key);
    if (!preview) {
        m_failedAtMs.insert(key, m_clock->now().toMSecsSinceEpoch());
        bump();
        return;
    }
    {
        QMutexLocker lock(&m_mutex);
        m_previews.insert(key, *preview);
    }
    if (ClipDatabase *database = store ? store->database() : nullptr) {
        const auto bytes = [](const QByteArray &png) { return png.isEmpty() ? std::nullopt : std::optional(png); };
        try {
            database->saveLinkPreview({preview->title, preview->siteName, bytes(preview->image), bytes(preview->icon)}, key);
        } catch (const ClipDatabase::Error &) {
            // The preview stays in memory; the next run fetches it again.
        }
    }
    emit previewChanged(key);
    bump();
}

std::optional<LinkPreview> LinkPreviewService::preview(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    const auto it = m_previews.constFind(key);
    return it == m_previews.cend() ? std::nullopt : std::optional<LinkPreview>(*it);
}

bool LinkPreviewService::hasFailed(const QString &key) const
{
    const auto it = m_failedAtMs.constFind(key);
    return it != m_failedAtMs.cend() && m_clock->now().toMSecsSinceEpoch() - *it < retryAfterMs;
}

void LinkPreviewService::follow(ClipboardStore &store)
{
    if (m_watched.contains(&store))
        return;
    m_watched.insert(&store);
    connect(&store, &QObject::destroyed, this, [this, raw = &store] { m_watched.remove(raw); });
    QPointer<ClipboardStore> guarded(&store);
    connect(store.settings(), &AppSettings::internetPreviewsEnabledChanged, this, [this, guarded] {
        if (guarded && !guarded->settings()->internetPreviewsEnabled())
            cancelFetches();
    });
    connect(&store, &ClipboardStore::clipsChanged, this, [this, guarded] {
        // Only a clip that went can leave a preview unused: a new one or an edit cannot.
        if (!guarded)
            return;
        const ClipChange &change = guarded->lastClipChange();
        if (change.everything || !change.removed.isEmpty())
            scheduleSweep(*guarded);
    });
    // Rows left by clips deleted while nothing followed the store go too.
    scheduleSweep(store);
}

void LinkPreviewService::scheduleSweep(ClipboardStore &store)
{
    QPointer<ClipboardStore> guarded(&store);
    m_sweep = m_clock->schedule(sweepDelayMs, [this, guarded] {
        if (guarded)
            sweep(*guarded);
    });
}

void LinkPreviewService::sweep(ClipboardStore &store)
{
    // With a million clips the keys take a while: they are worked out off the GUI thread from
    // the clips as they are now, which never change.
    QPointer<ClipboardStore> guarded(&store);
    const std::uint64_t revision = store.revision();
    auto *watcher = new QFutureWatcher<QSet<QString>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, guarded, revision] {
        watcher->deleteLater();
        if (!guarded)
            return;
        if (guarded->revision() != revision)
            scheduleSweep(*guarded); // a new link may have fetched its preview meanwhile
        else
            forgetAllBut(watcher->result(), *guarded);
    });
    watcher->setFuture(QtConcurrent::run([links = store.clipsOf(ClipGroup::link)] { return liveKeys(links); }));
}

void LinkPreviewService::cancelFetches()
{
    if (m_loading.isEmpty())
        return;
    qDeleteAll(std::exchange(m_running, {})); // aborts their requests; no callback runs
    m_queue.clear();
    m_loading.clear();
    bump();
}

void LinkPreviewService::forgetUnused(ClipboardStore &store)
{
    forgetAllBut(liveKeys(store.clipsOf(ClipGroup::link)), store);
}

void LinkPreviewService::forgetAllBut(const QSet<QString> &live, ClipboardStore &store)
{
    QStringList dropped;
    {
        QMutexLocker lock(&m_mutex);
        for (auto it = m_previews.begin(); it != m_previews.end();) {
            if (live.contains(it.key())) {
                ++it;
                continue;
            }
            dropped.append(it.key());
            it = m_previews.erase(it);
        }
    }
    if (ClipDatabase *database = store.database()) {
        try {
            database->deleteLinkPreviews([&live](const QString &key) { return live.contains(key); });
        } catch (const ClipDatabase::Error &) {
            // Tried again after the next change of the history.
        }
    }
    if (dropped.isEmpty())
        return;
    for (const QString &key : std::as_const(dropped))
        emit previewChanged(key);
    bump();
}

QVariantMap LinkPreviewService::card(qint64 clipID, ClipboardStore *store) const
{
    const ClipRef clip = store ? store->clip(clipID) : ClipRef();
    if (!clip)
        return {{QStringLiteral("kind"), QStringLiteral("none")}};
    const LinkCardState state = decideLinkCard(*clip, *this);
    return {{QStringLiteral("kind"), kindName(state.kind)},
            {QStringLiteral("key"), state.key},
            {QStringLiteral("title"), state.title},
            {QStringLiteral("siteName"), state.siteName},
            {QStringLiteral("isVideo"), state.isVideo},
            {QStringLiteral("imageSource"), state.hasImage ? pictureSource(state.key, "image", m_revision) : QString()},
            {QStringLiteral("iconSource"), state.hasIcon ? pictureSource(state.key, "icon", m_revision) : QString()},
            {QStringLiteral("openURL"), state.openURL ? state.openURL->toString() : QString()}};
}

QVariantMap LinkPreviewService::appCard(qint64 clipID, ClipboardStore *store) const
{
    const ClipRef clip = store ? store->clip(clipID) : ClipRef();
    const auto info = clip ? appCardInfo(*clip, *this) : std::nullopt;
    if (!info)
        return {};
    return {{QStringLiteral("iconSource"), info->iconSource.value_or(QString())},
            {QStringLiteral("name"), info->name ? QVariant(*info->name) : QVariant()}};
}

void LinkPreviewService::openLink(const QString &url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (m_desktop && parsed.isValid() && (parsed.scheme() == u"http" || parsed.scheme() == u"https"))
        m_desktop->openUrl(parsed);
}

void LinkPreviewService::bump()
{
    ++m_revision;
    // A screenful of rows read from the cache at once redraws once, not once per row.
    if (std::exchange(m_revisionSignalDue, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_revisionSignalDue = false;
            emit revisionChanged();
        },
        Qt::QueuedConnection);
}

} // namespace corvane

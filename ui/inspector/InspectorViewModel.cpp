#include "InspectorViewModel.h"

#include "DesktopAccess.h"
#include "DesktopServices.h"
#include "LinkPreviewService.h"
#include "RunOffThread.h"

#include <QPointer>

namespace corvane {

InspectorViewModel::InspectorViewModel(QObject *parent)
    : QObject(parent)
    , m_previews(LinkPreviewService::shared())
    , m_feedback(nullptr, [this] { emit copiedChanged(); })
    , m_followsStoreClock(true)
{
    connect(m_previews, &LinkPreviewService::revisionChanged, this, &InspectorViewModel::refresh);
}

InspectorViewModel::InspectorViewModel(Clock &clock, LinkPreviewService *previews, QObject *parent)
    : QObject(parent)
    , m_previews(previews)
    , m_feedback(&clock, [this] { emit copiedChanged(); })
{
    if (previews)
        connect(previews, &LinkPreviewService::revisionChanged, this, &InspectorViewModel::refresh);
}

InspectorViewModel::~InspectorViewModel() = default;

void InspectorViewModel::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    for (const auto &connection : std::as_const(m_connections))
        disconnect(connection);
    m_connections.clear();
    m_store = store;
    // Views made in QML run on the store's clock.
    if (m_followsStoreClock)
        m_feedback.setClock(store ? &store->clock() : nullptr);
    if (store) {
        m_connections << connect(store, &ClipboardStore::selectionChanged, this, &InspectorViewModel::refresh)
                      << connect(store, &ClipboardStore::clipsChanged, this, &InspectorViewModel::refresh)
                      << connect(store, &ClipboardStore::revealedSecretsChanged, this, &InspectorViewModel::refresh);
    }
    emit storeChanged();
    refresh();
}

void InspectorViewModel::setShownClipId(const QVariant &id)
{
    if (m_shownClipId == id)
        return;
    m_shownClipId = id;
    emit shownClipIdChanged();
    refresh();
}

void InspectorViewModel::refresh()
{
    bool fixed = false;
    const qint64 fixedID = m_shownClipId.isNull() ? 0 : m_shownClipId.toLongLong(&fixed);
    const auto selected = fixed ? std::optional<std::int64_t>(fixedID) : m_store ? m_store->selectedID() : std::nullopt;
    const ClipRef clip = selected ? m_store->clip(*selected) : ClipRef();
    const bool sameClip = clip && m_clipId == clip->id;
    if (!sameClip)
        m_feedback.reset();
    if (!clip) {
        m_clipId.reset();
        m_text.reset();
        m_textLength = -1;
        m_layout = {};
        ++m_statisticsGeneration;
        setSizeText({});
        emit changed();
        return;
    }
    // The loaded clip holds a prefix of a long text; read the whole one once per clip and length.
    if (!sameClip || m_textLength != clip->textLength || m_text.has_value() != clip->hasText()) {
        m_text = clip->textIsTruncated ? m_store->fullText(clip->id) : clip->text();
        m_textLength = clip->textLength;
        const quint64 generation = ++m_statisticsGeneration;
        if (!m_text || m_text->size() <= syncStatisticsLimit) {
            setSizeText(textStatistics(m_text, clip->byteSize));
        } else {
            setSizeText({});
            // A watcher's signal always comes from the event loop: a quick count never lands
            // inside this call, where a continuation attached after the count finished would.
            runOffThread<QString>(
                this, [text = *m_text, bytes = clip->byteSize] { return textStatistics(text, bytes); },
                [this, generation](const QString &result) {
                    if (generation == m_statisticsGeneration)
                        setSizeText(result);
                });
        }
    }
    m_clipId = clip->id;

    const QVariantMap app = m_previews && clip->appBundlePath() ? m_previews->appCard(clip->id, m_store) : QVariantMap();
    m_layout = inspectorLayout(*clip, m_text, !app.isEmpty());
    m_appName = app.value(QStringLiteral("name")).isNull() ? QStringLiteral("App") : app.value(QStringLiteral("name")).toString();
    m_appIcon = app.value(QStringLiteral("iconSource")).toString();
    m_appPath = clip->appBundlePath().value_or(QString());

    m_group = ClipGroups::rawValue(clip->group);
    m_secondLine = clip->detail.value_or(clip->subtitle());
    m_subtitle = clip->subtitle();
    m_isPinned = clip->isPinned;
    m_summary = clip->summary.value_or(QString());
    m_smartTitle = clip->smartTitle.value_or(QString());
    m_tags.clear();
    for (ColorTag tag : clip->tags())
        m_tags.append(ColorTags::rawValue(tag));
    m_sourceKey = clip->sourceKey().value_or(QString());
    m_sourceLine = corvane::sourceLine(*clip);
    m_copiedDate = corvane::copiedDate(clip->createdAt, m_store->timeZone());
    m_share = shareState(clip->group, m_store->revealedSecrets().contains(clip->id));
    emit changed();
}

void InspectorViewModel::setSizeText(const QString &text)
{
    if (m_sizeText == text)
        return;
    m_sizeText = text;
    emit sizeTextChanged();
}

bool InspectorViewModel::copy()
{
    if (!m_store || !m_clipId)
        return false;
    const bool written = m_store->copy(*m_clipId);
    m_feedback.copyFinished(written);
    return written;
}

void InspectorViewModel::addToStack()
{
    if (m_store && m_clipId)
        m_store->addToStack(QList<std::int64_t>{*m_clipId});
}

void InspectorViewModel::togglePin()
{
    if (m_store && m_clipId)
        m_store->togglePin(*m_clipId);
}

void InspectorViewModel::deleteClip()
{
    if (m_store && m_clipId)
        m_store->deleteClip(*m_clipId);
}

void InspectorViewModel::openApp()
{
    if (DesktopServices *desktop = inspectorDesktop(); desktop && !m_appPath.isEmpty())
        desktop->openFile(m_appPath);
}

} // namespace corvane

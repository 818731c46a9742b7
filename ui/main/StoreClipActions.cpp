#include "StoreClipActions.h"

#include "ClipboardStore.h"

namespace corvane {
namespace {

QList<std::int64_t> idsOf(const QList<Clip> &clips)
{
    QList<std::int64_t> ids;
    ids.reserve(clips.size());
    for (const Clip &clip : clips)
        ids << clip.id;
    return ids;
}

} // namespace

void StoreClipActions::copy(const Clip &clip, bool plainTextOnly) { m_store.copy(clip.id, plainTextOnly); }
void StoreClipActions::copyClips(const QList<Clip> &clips) { m_store.copyClips(idsOf(clips)); }
void StoreClipActions::togglePin(const Clip &clip) { m_store.togglePin(clip.id); }
void StoreClipActions::addToStack(const QList<Clip> &clips) { m_store.addToStack(idsOf(clips)); }
void StoreClipActions::toggleTag(ColorTag tag, const Clip &clip) { m_store.toggleTag(ColorTags::rawValue(tag), clip.id); }
void StoreClipActions::reveal(const Clip &clip) { m_store.reveal(clip.id); }
void StoreClipActions::keepSource(const QString &key) { m_store.keepSource(key); }
void StoreClipActions::deleteClip(const Clip &clip) { m_store.deleteClip(clip.id); }
void StoreClipActions::deleteClips(const QList<Clip> &clips) { m_store.deleteClips(idsOf(clips)); }

void StoreClipActions::unkeepSource(const QString &key) { m_store.unkeepSource(key); }

} // namespace corvane

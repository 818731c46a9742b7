#include "StoreClipActions.h"

#include "ClipboardStore.h"

namespace corvane {
void StoreClipActions::copy(const Clip &clip, bool plainTextOnly) { m_store.copy(clip.id, plainTextOnly); }
void StoreClipActions::copyClips(const QList<std::int64_t> &ids) { m_store.copyClips(ids); }
void StoreClipActions::togglePin(const Clip &clip) { m_store.togglePin(clip.id); }
void StoreClipActions::addToStack(const QList<std::int64_t> &ids) { m_store.addToStack(ids); }
void StoreClipActions::toggleTag(ColorTag tag, const Clip &clip) { m_store.toggleTag(ColorTags::rawValue(tag), clip.id); }
void StoreClipActions::reveal(const Clip &clip) { m_store.reveal(clip.id); }
void StoreClipActions::keepSource(const QString &key) { m_store.keepSource(key); }
void StoreClipActions::deleteClip(const Clip &clip) { m_store.deleteClip(clip.id); }
void StoreClipActions::deleteClips(const QList<std::int64_t> &ids) { m_store.deleteClips(ids); }

void StoreClipActions::unkeepSource(const QString &key) { m_store.unkeepSource(key); }

} // namespace corvane

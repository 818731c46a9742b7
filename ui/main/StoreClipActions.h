#pragma once

#include "ClipActions.h"

namespace corvane {

class ClipboardStore;

/** @brief The context menu's operations carried out by the clipboard store. */
class StoreClipActions : public ClipActions
{
public:
    explicit StoreClipActions(ClipboardStore &store)
        : m_store(store)
    {
    }

    void copy(const Clip &clip, bool plainTextOnly) override;
    void copyClips(const QList<std::int64_t> &ids) override;
    void togglePin(const Clip &clip) override;
    void addToStack(const QList<std::int64_t> &ids) override;
    void toggleTag(ColorTag tag, const Clip &clip) override;
    void reveal(const Clip &clip) override;
    void keepSource(const QString &key) override;
    void unkeepSource(const QString &key) override;
    void deleteClip(const Clip &clip) override;
    void deleteClips(const QList<std::int64_t> &ids) override;

private:
    ClipboardStore &m_store;
};

} // namespace corvane

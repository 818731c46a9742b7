#pragma once

#include "Clip.h"
#include "ColorTag.h"

#include <QList>
#include <QString>

namespace corvane {

/** @brief The store operations a clip's context menu can ask for. */
class ClipActions
{
public:
    virtual ~ClipActions() = default;
    virtual void copy(const Clip &clip, bool plainTextOnly) = 0;
    virtual void copyClips(const QList<std::int64_t> &ids) = 0;
    virtual void togglePin(const Clip &clip) = 0;
    virtual void addToStack(const QList<std::int64_t> &ids) = 0;
    virtual void toggleTag(ColorTag tag, const Clip &clip) = 0;
    virtual void reveal(const Clip &clip) = 0;
    virtual void keepSource(const QString &key) = 0;
    /** Neither kept nor hidden afterwards. */
    virtual void unkeepSource(const QString &key) = 0;
    virtual void deleteClip(const Clip &clip) = 0;
    virtual void deleteClips(const QList<std::int64_t> &ids) = 0;
};

} // namespace corvane

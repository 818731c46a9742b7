#include "DragPlan.h"

#include "DragImageFileName.h"

#include <QDateTime>
#include <QDir>
#include <QStringList>

namespace corvane {
namespace {

QString wholeText(const Clip &clip, const DragEnvironment &env)
{
    if (!clip.hasText())
        return {};
    if (clip.textIsTruncated && env.fullText) {
        if (const auto full = env.fullText(clip.id))
            return *full;
    }
    return clip.text().value_or(QString());
}

DragPlan linkPlan(const QString &text)
{
    const QString trimmed = text.trimmed();
    const QUrl url(trimmed, QUrl::StrictMode);
    if (trimmed.isEmpty() || !url.isValid() || url.scheme().isEmpty())
        return DragPlan::textOf(text);
    return {DragPlan::Kind::Url, trimmed, url, 0, {}};
}

DragPlan filePlan(const QString &text, const DragEnvironment &env)
{
    const QStringList paths = text.split(u'\n', Qt::SkipEmptyParts);
    if (paths.isEmpty())
        return DragPlan::textOf(text);
    const QString path = expandTilde(paths.first(), env.homePath);
    if (!QDir::isAbsolutePath(path) || !env.pathExists || !env.pathExists(path))
        return DragPlan::textOf(text);
    return {DragPlan::Kind::File, {}, QUrl::fromLocalFile(path), 0, {}};
}

} // namespace

QDateTime createdDate(const Clip &clip) { return QDateTime::fromMSecsSinceEpoch(qint64(clip.createdAt * 1000.0)); }

QString expandTilde(const QString &path, const QString &home)
{
    if (path == u"~")
        return home;
    if (path.startsWith(QStringLiteral("~/")))
        return home + path.mid(1);
    return path;
}

namespace {

DragPlan plannedFor(const QList<Clip> &clips, const DragEnvironment &env)
{
    if (clips.isEmpty())
        return {};
    if (clips.size() > 1) {
        QStringList texts;
        for (const Clip &clip : clips) {
            if (clip.hasText())
                texts << wholeText(clip, env);
        }
        return DragPlan::textOf(texts.join(u'\n'));
    }
    const Clip &clip = clips.first();
    const QString text = wholeText(clip, env);
    switch (clip.group) {
    case ClipGroup::link:
        return clip.hasText() ? linkPlan(text) : DragPlan::textOf(text);
    case ClipGroup::file:
        return clip.hasText() ? filePlan(text, env) : DragPlan::textOf(text);
    case ClipGroup::image:
        if (!env.hasDatabase)
            return DragPlan::textOf(text);
        return {DragPlan::Kind::Image, text, {}, clip.id, dragImageFileName(clip.detail.value_or(QString()), createdDate(clip))};
    default:
        return DragPlan::textOf(text);
    }
}

DragPlan withoutEmptyText(DragPlan plan)
{
    if (plan.kind == DragPlan::Kind::Text && plan.text.isEmpty())
        return {};
    return plan;
}

} // namespace

DragPlan planDrag(const QList<Clip> &clips, const DragEnvironment &env) { return withoutEmptyText(plannedFor(clips, env)); }

} // namespace corvane

#include "ClipCollection.h"
#include "DerivedLists.h"
#include "SourceRanking.h"

#include <gtest/gtest.h>

#include <QTimeZone>

#include <map>
#include <random>

namespace corvane::test {
namespace {

constexpr double day = 86400;
constexpr double base = 1.7e9;

/** Sources of every kind: apps (one of them under two names), pages, none at all. */
void setSource(Clip &clip, int which)
{
    clip.setSourceBundleID(std::nullopt);
    clip.setSourceName(std::nullopt);
    clip.setSourceURL(std::nullopt);
    switch (which % 7) {
    case 0:
        break;
    case 1:
    case 2:
        clip.setSourceBundleID(QStringLiteral("org.example.Editor"));
        clip.setSourceName(which % 7 == 1 ? QStringLiteral("Editor") : QStringLiteral("Editor Beta"));
        break;
    case 3:
        clip.setSourceBundleID(QStringLiteral("org.example.Terminal"));
        clip.setSourceName(QStringLiteral("Terminal"));
        break;
    case 4:
        clip.setSourceURL(QStringLiteral("https://www.example.org/page"));
        break;
    case 5:
        clip.setSourceURL(QStringLiteral("https://docs.example.net/a"));
        break;
    default:
        clip.setSourceBundleID(QStringLiteral("org.example.Mail"));
        clip.setSourceName(QStringLiteral("Mail"));
        break;
    }
}

/** Few distinct dates, so equal weights and equal newest dates happen; now and then years apart. */
double randomDate(std::mt19937 &random)
{
    switch (random() % 6) {
    case 0:
        return base - double(random() % 4) * 365 * day;
    case 1:
        return base + 0.25; // a fraction of a second
    default:
        return base - double(random() % 12) * 3 * day;
    }
}

QList<Clip> newestFirst(const std::map<std::int64_t, Clip> &truth)
{
    QList<Clip> loaded;
    for (const auto &[id, clip] : truth)
        loaded.append(clip);
    std::sort(loaded.begin(), loaded.end(),
              [](const Clip &a, const Clip &b) { return a.createdAt != b.createdAt ? a.createdAt > b.createdAt : a.id > b.id; });
    return loaded;
}

TEST(SourceTallies, KeptThroughRandomEditsTheyRankAsAFullRecount)
{
    std::mt19937 random(19);
    std::map<std::int64_t, Clip> truth;
    std::int64_t nextID = 1;
    auto newClip = [&] {
        Clip clip;
        clip.id = nextID++;
        clip.createdAt = randomDate(random);
        clip.setText(QStringLiteral("text %1").arg(clip.id));
        clip.byteSize = 10;
        setSource(clip, int(random() % 7));
        return clip;
    };
    for (int i = 0; i < 40; ++i) {
        Clip clip = newClip();
        truth[clip.id] = clip;
    }
    ClipCollection clips;
    clips.replace(newestFirst(truth), QTimeZone::utc());
    for (int step = 0; step < 400; ++step) {
        QList<Clip> changed;
        QSet<std::int64_t> removed;
        for (int edit = 0, edits = 1 + int(random() % 3); edit < edits; ++edit) {
            auto it = std::next(truth.begin(), std::ptrdiff_t(random() % truth.size()));
            if (removed.contains(it->first) || std::any_of(changed.begin(), changed.end(), [&](const Clip &c) {
                    return c.id == it->first;
                }))
                continue;
            Clip clip = it->second;
            switch (random() % 6) {
            case 0:
                clip = newClip();
                break;
            case 1:
                // Mostly the newest clip goes: its source's next newest names it and dates it.
                if (truth.size() > 5) {
                    const Clip newest = newestFirst(truth).front();
                    const std::int64_t id = random() % 2 ? newest.id : it->first;
                    removed.insert(id);
                    truth.erase(id);
                }
                continue;
            case 2:
                clip.createdAt = randomDate(random);
                clip.note = QStringLiteral("redated %1").arg(step);
                break;
            case 3:
                setSource(clip, int(random() % 7));
                clip.note = QStringLiteral("moved %1").arg(step);
                break;
            case 4:
                clip.createdAt = randomDate(random);
                setSource(clip, int(random() % 7));
                clip.note = QStringLiteral("both %1").arg(step);
                break;
            default:
                // Counted out and in again with the same date and source.
                clip.isPinned = !clip.isPinned;
                break;
            }
            truth[clip.id] = clip;
            changed.append(clip);
        }
        if (!clips.patch(changed, removed))
            continue;
        ClipCollection whole;
        whole.replace(newestFirst(truth), QTimeZone::utc());
        const QList<SourceApp> ranked = DerivedLists::sources(clips);
        ASSERT_EQ(ranked, DerivedLists::sources(whole)) << "step " << step;

        QList<std::pair<QString, QDateTime>> dated;
        for (const auto &[id, clip] : truth) {
            if (const auto key = clip.sourceKey(); key && !key->isEmpty())
                dated.append({*key, QDateTime::fromMSecsSinceEpoch(std::int64_t(clip.createdAt * 1000), QTimeZone::utc())});
        }
        QStringList keys;
        for (const SourceApp &source : ranked)
            keys.append(source.bundleID);
        ASSERT_EQ(keys, SourceRanking::rank(dated)) << "step " << step;
    }
}

TEST(SourceTallies, TheNewestClipNamesTheSourceAndItsNextNewestTakesOverWhenItGoes)
{
    auto clipOf = [](std::int64_t id, double createdAt, const QString &name) {
        Clip clip;
        clip.id = id;
        clip.createdAt = createdAt;
        clip.setText(QStringLiteral("text %1").arg(id));
        clip.setSourceBundleID(QStringLiteral("org.example.Editor"));
        clip.setSourceName(name);
        return clip;
    };
    ClipCollection clips;
    clips.replace({clipOf(3, base, QStringLiteral("Editor 3")), clipOf(2, base, QStringLiteral("Editor 2")),
                   clipOf(1, base - day, QStringLiteral("Editor 1"))},
                  QTimeZone::utc());
    const QString key = QStringLiteral("org.example.Editor");
    EXPECT_EQ(DerivedLists::sources(clips), (QList<SourceApp>{{key, QStringLiteral("Editor 3"), 3}})) << "equal dates: higher id";
    clips.patch({clipOf(5, base, QStringLiteral("Editor 5"))}, {});
    EXPECT_EQ(DerivedLists::sources(clips), (QList<SourceApp>{{key, QStringLiteral("Editor 5"), 4}}));

    clips.patch({}, {5, 3});
    EXPECT_EQ(DerivedLists::sources(clips), (QList<SourceApp>{{key, QStringLiteral("Editor 2"), 2}}));
    clips.patch({clipOf(4, base - 2 * day, QStringLiteral("Editor 4"))}, {2});
    EXPECT_EQ(DerivedLists::sources(clips), (QList<SourceApp>{{key, QStringLiteral("Editor 1"), 2}})) << "an older clip names nothing";
    Clip renamed = clipOf(1, base - day, QStringLiteral("Editor Renamed"));
    renamed.note = QStringLiteral("edited");
    clips.patch({renamed}, {});
    EXPECT_EQ(DerivedLists::sources(clips), (QList<SourceApp>{{key, QStringLiteral("Editor Renamed"), 2}}));
    clips.patch({}, {1, 4});
    EXPECT_TRUE(DerivedLists::sources(clips).isEmpty());
}

} // namespace
} // namespace corvane::test

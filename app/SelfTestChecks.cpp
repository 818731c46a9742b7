// The checks of the self-test: fixed samples through the core rules, and one database cycle.
#include "SelfTest.h"

#include "ClipDatabase.h"
#include "ClipGroup.h"
#include "ColorParser.h"
#include "ColorTag.h"
#include "ContentDetector.h"
#include "FuzzyMatcher.h"
#include "PrivacyPolicy.h"
#include "SearchQuery.h"
#include "SecretMasker.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include <memory>

namespace corvane {
namespace {

using Failure = std::optional<QString>;

Failure expect(bool ok, const QString &detail) { return ok ? Failure() : Failure(detail); }

ClipDatabase::NewClip textClip(const QString &text, double createdAt)
{
    ClipDatabase::NewClip clip;
    clip.text = text;
    clip.byteSize = text.toUtf8().size();
    clip.createdAt = createdAt;
    clip.hash = QStringLiteral("self-test-%1").arg(text);
    return clip;
}

// One temporary database shared by the cycle's steps, which run in order.
struct Cycle {
    QTemporaryDir dir;
    std::unique_ptr<ClipDatabase> database;
    double now = 1'700'000'000;
    std::int64_t firstId = 0;
};

} // namespace

QList<QPair<QString, SelfTest::Check>> SelfTest::coreChecks()
{
    return {
        {QStringLiteral("clip groups and colour tags"),
         [] {
             for (ClipGroup group : ClipGroups::allCases) {
                 if (ClipGroups::fromRawValue(ClipGroups::rawValue(group)) != group)
                     return Failure(QStringLiteral("group %1 does not round-trip").arg(ClipGroups::rawValue(group)));
             }
             const QList<ColorTag> tags{ColorTag::red, ColorTag::gray};
             return expect(ColorTags::fromMask(ColorTags::toMask(tags)) == tags, QStringLiteral("tag mask does not round-trip"));
         }},
        {QStringLiteral("content detection"),
         [] {
             const QList<QPair<QString, ClipGroup>> samples{
                 {QStringLiteral("https://example.org/page"), ClipGroup::link},
                 {QStringLiteral("someone@example.org"), ClipGroup::email},
                 {QStringLiteral("#FF8800"), ClipGroup::color},
                 {QStringLiteral("Meet me at the station."), ClipGroup::text},
             };
             for (const auto &[text, group] : samples) {
                 const Detection found = ContentDetector::detect(text);
                 if (found.group != group)
                     return Failure(QStringLiteral("sample %1 was sorted as %2")
                                        .arg(ClipGroups::rawValue(group), ClipGroups::rawValue(found.group)));
             }
             return Failure();
         }},
        {QStringLiteral("secret masking"),
         [] {
             const QString token = QStringLiteral("ghp_") + QString(36, QLatin1Char('x'));
             const QString masked = SecretMasker::mask(token);
             return expect(!masked.contains(token.right(8)) && masked.contains(SecretMasker::bullets()),
                           QStringLiteral("a token's tail shows through the mask"));
         }},
        {QStringLiteral("colour parsing"),
         [] {
             const auto color = ColorParser::parse(QStringLiteral("rgb(255, 0, 0)"));
             return expect(color && color->red == 1.0 && color->green == 0.0 && !ColorParser::parse(QStringLiteral("#GG0000")),
                           QStringLiteral("rgb() or hex notation misread"));
         }},
        {QStringLiteral("fuzzy matching"),
         [] {
             const bool typo = FuzzyMatcher::score(QStringList{QStringLiteral("histroy")}, u"clipboard history").has_value();
             const bool miss = FuzzyMatcher::score(QStringList{QStringLiteral("zebra")}, u"clipboard history").has_value();
             return expect(typo && !miss, QStringLiteral("typo tolerance or mismatch wrong"));
         }},
        {QStringLiteral("search query"),
         [] {
             const QTimeZone zone = QTimeZone::utc();
             const auto query
                 = SearchQuery::parse(QStringLiteral("type:image yesterday cat"), QDateTime::currentDateTimeUtc(), zone);
             return expect(query.groups == QList<ClipGroup>{ClipGroup::image} && query.terms == QStringList{QStringLiteral("cat")}
                               && query.dateRange.has_value(),
                           QStringLiteral("filters of a query misread"));
         }},
        {QStringLiteral("privacy policy"),
         [] {
             using PrivacyPolicy::verdict;
             const bool concealed = !verdict(PrivacyPolicy::concealedFormats().mid(0, 1), QStringLiteral("Editor"),
                                             QStringLiteral("editor"), false, {}, {})
                                         .isRecord();
             const bool manager = !verdict({QStringLiteral("text/plain")}, QStringLiteral("KeePassXC"),
                                           QStringLiteral("org.keepassxc.KeePassXC"), false, {}, {})
                                       .isRecord();
             const bool plain
                 = verdict({QStringLiteral("text/plain")}, QStringLiteral("Editor"), QStringLiteral("editor"), false, {}, {})
                       .isRecord();
             return expect(concealed && manager && plain, QStringLiteral("a copy was recorded or skipped wrongly"));
         }},
    };
}

QList<QPair<QString, SelfTest::Check>> SelfTest::databaseChecks()
{
    auto cycle = std::make_shared<Cycle>();
    auto needsDatabase = [cycle](auto step) {
        return [cycle, step]() -> Failure {
            if (!cycle->database)
                return Failure(QStringLiteral("no database"));
            return step(*cycle->database);
        };
    };
    return {
        {QStringLiteral("database create"),
         [cycle] {
             if (!cycle->dir.isValid())
                 return Failure(QStringLiteral("no temporary folder: %1").arg(cycle->dir.errorString()));
             const QString path = cycle->dir.filePath(QStringLiteral("self-test.sqlite"));
             cycle->database = std::make_unique<ClipDatabase>(path, [cycle] { return cycle->now; });
             const auto permissions = QFileInfo(path).permissions();
             return expect(!(permissions & (QFile::ReadGroup | QFile::ReadOther)), QStringLiteral("database readable by others"));
         }},
        {QStringLiteral("database insert"), needsDatabase([cycle](ClipDatabase &db) {
             const auto result = db.insert(textClip(QStringLiteral("first"), cycle->now));
             cycle->firstId = result.id;
             return expect(result.outcome == ClipDatabase::InsertResult::Outcome::inserted && db.clipCount() == 1,
                           QStringLiteral("the clip was not inserted"));
         })},
        {QStringLiteral("database dedupe"), needsDatabase([cycle](ClipDatabase &db) {
             const auto result = db.insert(textClip(QStringLiteral("first"), cycle->now + 5));
             return expect(result.outcome == ClipDatabase::InsertResult::Outcome::bumped && result.id == cycle->firstId
                               && db.clipCount() == 1,
                           QStringLiteral("an equal clip added a row"));
         })},
        {QStringLiteral("database prune"), needsDatabase([cycle](ClipDatabase &db) {
             db.setPinned(cycle->firstId, true, cycle->now);
             for (int i = 0; i < 5; ++i)
                 db.insert(textClip(QStringLiteral("clip %1").arg(i) + QString(100, QLatin1Char('.')), cycle->now + 10 + i));
             const auto deleted = db.prune(250);
             const auto pinned = db.loadClip(cycle->firstId);
             return expect(!deleted.isEmpty() && pinned && db.clipCount() == 1 + 5 - deleted.size(),
                           QStringLiteral("pruning removed the wrong clips"));
         })},
        {QStringLiteral("database delete"), needsDatabase([cycle](ClipDatabase &db) {
             const auto clips = db.loadClips();
             QList<std::int64_t> ids;
             for (const Clip &clip : clips)
                 ids.append(clip.id);
             db.deleteClips(ids);
             const bool empty = db.clipCount() == 0 && db.storageUsed() == 0;
             cycle->database.reset();
             return expect(empty, QStringLiteral("clips remain after deleting"));
         })},
    };
}

} // namespace corvane

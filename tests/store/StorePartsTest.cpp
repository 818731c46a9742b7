// The store's parts on their own, without a store, a database or a QML engine.
#include "ClipListModel.h"
#include "DerivedLists.h"
#include "FakeClock.h"
#include "Selection.h"
#include "StoreFixture.h"
#include "ThumbnailImageProvider.h"
#include "TimedState.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;

namespace {

/** A visible list of ids in the order shown. */
Selection::Order orderOf(const std::vector<std::int64_t> &ids)
{
    return {int(ids.size()), [&ids](int position) { return ids[std::size_t(position)]; },
            [&ids](std::int64_t id) {
                const auto it = std::find(ids.begin(), ids.end(), id);
                return it == ids.end() ? -1 : int(it - ids.begin());
            }};
}

} // namespace

TEST(SelectionPart, ClicksModifierClicksAndRanges)
{
    const std::vector<std::int64_t> shown{10, 20, 30, 40, 50};
    const Selection::Order order = orderOf(shown);
    Selection selection;

    EXPECT_TRUE(selection.select(30, false, false, order));
    EXPECT_FALSE(selection.select(30, false, false, order)) << "the same click changes nothing";
    EXPECT_TRUE(selection.select(50, false, true, order));
    EXPECT_EQ(selection.anchor(), 30);
    EXPECT_EQ(selection.ids(), (QSet<std::int64_t>{30, 40, 50}));
    EXPECT_TRUE(selection.isInMultiple(40));

    // Removing the anchor with a modifier click hands it to the nearest member, earlier on a tie.
    selection.set(30, {20, 30, 40});
    EXPECT_TRUE(selection.select(30, true, false, order));
    EXPECT_EQ(selection.anchor(), 20);
    EXPECT_TRUE(selection.select(20, true, false, order));
    EXPECT_EQ(selection.anchor(), 40);
    EXPECT_TRUE(selection.select(40, true, false, order));
    EXPECT_FALSE(selection.anchor());
    EXPECT_EQ(selection.count(), 0);

    // A range from an anchor no longer shown falls back to a plain click.
    selection.set(99, {99});
    selection.select(20, false, true, order);
    EXPECT_EQ(selection.ids(), (QSet<std::int64_t>{20}));
}

TEST(SelectionPart, ArrowTargetsSuccessorsAndRetain)
{
    const std::vector<std::int64_t> shown{10, 20, 30};
    const Selection::Order order = orderOf(shown);
    Selection selection;
    EXPECT_EQ(selection.moveTarget(1, order), 10);
    EXPECT_EQ(selection.moveTarget(-1, order), 30);
    selection.set(20, {20});
    EXPECT_EQ(selection.moveTarget(5, order), 30);
    EXPECT_EQ(selection.moveTarget(-5, order), 10);
    EXPECT_FALSE(selection.moveTarget(1, orderOf({})));

    EXPECT_EQ(Selection::successor(20, order), 30);
    EXPECT_EQ(Selection::successor(30, order), 20);
    EXPECT_FALSE(Selection::successor(10, orderOf({10})));
    EXPECT_FALSE(Selection::successor(77, order));

    selection.set(20, {10, 20});
    EXPECT_TRUE(selection.retain([](std::int64_t id) { return id != 20; }));
    EXPECT_FALSE(selection.anchor());
    EXPECT_EQ(selection.ids(), (QSet<std::int64_t>{10}));
    EXPECT_FALSE(selection.retain([](std::int64_t) { return true; }));
}

TEST(TimedParts, PauseSignalsRealChangesAndResumesAtItsEnd)
{
    FakeClock clock;
    std::vector<bool> changes;
    PauseState pause(clock, [&changes](bool paused) { changes.push_back(paused); });
    pause.pause(std::nullopt);
    pause.pause(std::nullopt);
    EXPECT_EQ(changes, (std::vector<bool>{true}));
    EXPECT_FALSE(pause.end().isValid());

    pause.pause(10);
    EXPECT_EQ(pause.end(), clock.now().addSecs(10));
    clock.advance(9'999);
    EXPECT_TRUE(pause.isPaused());
    clock.advance(1);
    EXPECT_FALSE(pause.isPaused());
    EXPECT_EQ(changes, (std::vector<bool>{true, true, false}));
}

TEST(TimedParts, NoticesExpireAndSecretsHideAgain)
{
    FakeClock clock;
    int noticeChanges = 0;
    NoticeBoard notices(clock, [&noticeChanges] { ++noticeChanges; });
    notices.show(QStringLiteral("first"), Notice::Kind::warning);
    clock.advance(Notice::warningMilliseconds - 100);
    notices.show(QStringLiteral("second"), Notice::Kind::info);
    clock.advance(100);
    ASSERT_TRUE(notices.current());
    EXPECT_EQ(notices.current()->message, "second");
    clock.advance(Notice::infoMilliseconds);
    EXPECT_FALSE(notices.current());
    EXPECT_EQ(noticeChanges, 3);

    int secretChanges = 0;
    RevealedSecrets secrets(clock, [&secretChanges] { ++secretChanges; });
    secrets.toggle(1);
    secrets.toggle(2);
    secrets.toggle(2);
    EXPECT_EQ(secrets.ids(), (QSet<std::int64_t>{1}));
    secrets.retain([](std::int64_t) { return true; });
    EXPECT_EQ(secretChanges, 3);
    clock.advance(RevealedSecrets::revealMilliseconds);
    EXPECT_TRUE(secrets.ids().isEmpty());
    secrets.toggle(3);
    secrets.hideAll();
    clock.advance(RevealedSecrets::revealMilliseconds);
    EXPECT_EQ(secretChanges, 6);
}

namespace {

struct LoggedMessage {
    QString category;
    QString text;
};
QList<LoggedMessage> *loggedMessages = nullptr;

void keepMessage(QtMsgType, const QMessageLogContext &context, const QString &text)
{
    if (loggedMessages)
        loggedMessages->append({QString::fromLatin1(context.category), text});
}

class StoreLogging : public test::StoreFixture
{ };

} // namespace

TEST_F(StoreLogging, AHistoryThatCannotOpenIsLoggedUnderTheDatabaseCategory)
{
    QList<LoggedMessage> messages;
    loggedMessages = &messages;
    const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("a-folder")));
    makeStore(dir.filePath(QStringLiteral("a-folder"))); // a folder is no database
    qInstallMessageHandler(previous);
    loggedMessages = nullptr;

    EXPECT_FALSE(store->hasDatabase());
    const auto opening = std::find_if(messages.begin(), messages.end(), [](const LoggedMessage &message) {
        return message.category == QLatin1String("corvane.db");
    });
    ASSERT_NE(opening, messages.end());
    EXPECT_TRUE(opening->text.startsWith(QStringLiteral("Corvane: "))) << opening->text.toStdString();
}

namespace {

class BackgroundLoad : public test::StoreFixture
{ };

bool waitUntilLoaded(const ClipboardStore &store)
{
    QElapsedTimer waited;
    waited.start();
    while (store.isLoading() && waited.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return !store.isLoading();
}

} // namespace

TEST_F(BackgroundLoad, TheNewestAndPinnedClipsComeFirstAndEditsMadeMeanwhileHold)
{
    const int total = ClipboardStore::firstLoadCount + 100;
    ClipDatabase &db = *store->database();
    std::int64_t oldest = 0;
    std::int64_t newest = 0;
    for (int i = 0; i < total; ++i) {
        const std::int64_t id = db.insert(test::textClip(ClipGroup::text, QStringLiteral("clip %1").arg(i), ago(total - i))).id;
        (i == 0 ? oldest : newest) = id;
    }
    db.setPinned(oldest, true, ago(0));

    loadInBackground = true;
    makeStore();
    EXPECT_EQ(store->clipCount(), ClipboardStore::firstLoadCount + 1) << "the newest clips and the old pinned one";
    ASSERT_TRUE(store->clip(oldest));
    EXPECT_TRUE(store->clip(oldest)->isPinned);
    ASSERT_TRUE(store->isLoading());

    // Edits while the rest is read are not undone when the older snapshot lands: a pin, a new
    // clip and a deleted one.
    store->togglePin(newest);
    // Nor does any listener see the older snapshot for a moment: the pin holds at every change.
    bool pinHeld = true;
    QObject::connect(store.get(), &ClipboardStore::clipsChanged, store.get(), [&] {
        const ClipRef clip = store->clip(newest);
        pinHeld = pinHeld && clip && clip->isPinned;
    });
    const std::int64_t added
        = store->database()->insert(test::textClip(ClipGroup::text, QStringLiteral("copied meanwhile"), ago(0))).id;
    const std::int64_t deleted = store->visibleClips().at(3)->id;
    store->deleteClip(deleted);
    store->reload();
    ASSERT_TRUE(waitUntilLoaded(*store));
    EXPECT_EQ(store->clipCount(), total);
    EXPECT_TRUE(store->clip(newest)->isPinned);
    EXPECT_EQ(store->visibleClips().first()->id, newest);
    EXPECT_TRUE(store->clip(added));
    EXPECT_FALSE(store->clip(deleted));
    EXPECT_TRUE(pinHeld);
}

namespace {

/** A history longer than the first screen, over many days and a few sources, with images among the oldest clips. */
class BackgroundAdoption : public test::StoreFixture
{
protected:
    void SetUp() override
    {
        StoreFixture::SetUp();
        const QStringList sources{QStringLiteral("org.example.Editor"), QStringLiteral("org.example.Mail"), QString()};
        for (int i = 0; i < total; ++i) {
            insert(test::textClip(ClipGroup::text, QStringLiteral("clip %1").arg(i), ago(double(total - i) * 3000),
                                  sources[i % sources.size()]));
        }
        oldImage = addImage(test::pngOf(Qt::red), double(total + 1) * 3000);
        newImage = addImage(test::pngOf(Qt::blue), 1);
        store->database()->setPinned(store->visibleClips().at(store->clipCount() - 2)->id, true, ago(0));
        loadInBackground = true;
        makeStore();
        provider = std::make_unique<ThumbnailImageProvider>(store.get());
        model.setSectioned(true);
        model.setStore(store.get());
        tester = std::make_unique<QAbstractItemModelTester>(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    }

    QColor colourOf(std::int64_t id)
    {
        const QImage image = provider->requestImage(QString::number(id), nullptr, {});
        return image.isNull() ? QColor() : image.pixelColor(0, 0);
    }

    /** The lists as worked out afresh from the loaded clips, against what the views were handed. */
    void expectListsAsWorkedOutAfresh()
    {
        const ClipCollection &clips = store->collection();
        const SearchContext context{store->now(), store->timeZone(), {}};
        const std::vector<int> visible = DerivedLists::visible(clips, ClipFilter::all(), {}, context);
        const SectionLayout layout = DerivedLists::sectionLayout(clips, visible, ClipFilter::all(), {}, context);
        std::vector<std::int64_t> visibleIDs;
        for (int index : visible)
            visibleIDs.push_back(clips.entries()[std::size_t(index)].id);
        EXPECT_EQ(int(visibleIDs.size()), store->clipCount());
        EXPECT_EQ(*store->visibleIDs(ClipFilter::all(), {}), visibleIDs);
        std::vector<std::int64_t> rows;
        std::vector<int> rowSections;
        for (int row = 0; row < model.rowCount(); ++row) {
            rows.push_back(model.data(model.index(row), ClipListModel::ClipIdRole).toLongLong());
            rowSections.push_back(model.data(model.index(row), ClipListModel::SectionIdRole).toInt());
        }
        EXPECT_EQ(rows, visibleIDs);
        EXPECT_EQ(rowSections, layout.rowSection);
        const std::vector<ClipSection> sections = store->sections(ClipFilter::all(), {});
        ASSERT_EQ(qsizetype(sections.size()), layout.titles.size());
        for (std::size_t i = 0; i < sections.size(); ++i) {
            EXPECT_EQ(sections[i].title, layout.titles.at(qsizetype(i)));
            EXPECT_EQ(model.sectionTitle(int(i)), layout.titles.at(qsizetype(i)));
        }
        EXPECT_EQ(store->sources(), DerivedLists::sources(clips));
    }

    static constexpr int total = ClipboardStore::firstLoadCount + 300;
    std::int64_t oldImage = 0;
    std::int64_t newImage = 0;
    std::unique_ptr<ThumbnailImageProvider> provider;
    ClipListModel model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST_F(BackgroundAdoption, TheViewsGetEveryLoadedClipAsAFreshReadWouldGiveThem)
{
    ASSERT_TRUE(store->isLoading());
    EXPECT_EQ(colourOf(newImage), QColor(Qt::blue));
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    ASSERT_TRUE(waitUntilLoaded(*store));
    EXPECT_EQ(store->clipCount(), total + 2);
    expectListsAsWorkedOutAfresh();
    EXPECT_EQ(colourOf(oldImage), QColor(Qt::red));
    EXPECT_EQ(colourOf(newImage), QColor(Qt::blue));
    EXPECT_EQ(resets.size(), 0);
}

TEST_F(BackgroundAdoption, EditsMadeWhileTheRestIsReadHoldInTheListsAndThumbnails)
{
    ASSERT_TRUE(store->isLoading());
    store->deleteClip(newImage);
    const std::int64_t copied = addImage(test::pngOf(Qt::green), 0);
    store->togglePin(store->visibleClips().at(2)->id);
    const std::int64_t mailClip = store->visibleClips().at(4)->id;
    store->deleteClip(mailClip);
    ASSERT_TRUE(waitUntilLoaded(*store));
    EXPECT_EQ(store->clipCount(), total + 1);
    EXPECT_FALSE(store->clip(mailClip));
    expectListsAsWorkedOutAfresh();
    EXPECT_FALSE(colourOf(newImage).isValid());
    EXPECT_EQ(colourOf(copied), QColor(Qt::green));
    EXPECT_EQ(colourOf(oldImage), QColor(Qt::red));
}

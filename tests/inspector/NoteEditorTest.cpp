#include "NoteEditorController.h"

#include "AppEvents.h"
#include "FakeClock.h"
#include "StoreFixture.h"

#include <QCoreApplication>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

/** A store stand-in: notes by clip id, and every save call in order. */
struct Notes {
    QHash<std::int64_t, QString> stored;
    QList<QPair<QString, std::int64_t>> saves;

    NoteEditorController::NoteSink sink()
    {
        return {[this](std::int64_t id) { return stored.value(id); },
                [this](const QString &text, std::int64_t id) {
                    saves.append({text, id});
                    stored[id] = text.trimmed();
                }};
    }
};

class NoteDebounce : public ::testing::Test
{
protected:
    void SetUp() override
    {
        notes.stored = {{1, QStringLiteral("old")}, {2, QString()}};
        controller = std::make_unique<NoteEditorController>(clock, notes.sink());
        controller->setClipId(1);
    }

    void type(const QString &text)
    {
        controller->setDraft(text);
        clock.advance(100);
    }

    FakeClock clock;
    Notes notes;
    std::unique_ptr<NoteEditorController> controller;
};

TEST_F(NoteDebounce, LoadsTheStoredNoteWithoutSaving)
{
    EXPECT_EQ(controller->draft(), "old");
    controller->setDraft(QStringLiteral("changed while not editing"));
    clock.advance(5000);
    EXPECT_TRUE(notes.saves.isEmpty());
}

TEST_F(NoteDebounce, QuickTypingSavesOnceAfterTheLastKey)
{
    controller->startEditing();
    type("a");
    type("ab");
    type("abc");
    clock.advance(800 - 100 - 1);
    EXPECT_TRUE(notes.saves.isEmpty());
    clock.advance(1);
    ASSERT_EQ(notes.saves.size(), 1);
    EXPECT_EQ(notes.saves.first(), qMakePair(QStringLiteral("abc"), std::int64_t(1)));
    EXPECT_TRUE(controller->editing());
}

TEST_F(NoteDebounce, ReturnOrEscapeSavesAtOnceAndOnlyOnce)
{
    controller->startEditing();
    type("new note");
    controller->commit(); // Return (Escape commits the same way)
    ASSERT_EQ(notes.saves.size(), 1);
    EXPECT_FALSE(controller->editing());
    controller->commit(); // the focus loss that follows
    clock.advance(5000);
    EXPECT_EQ(notes.saves.size(), 1);
}

TEST_F(NoteDebounce, ClearingTheNoteSavesTheEmptyText)
{
    controller->startEditing();
    type("");
    controller->commit();
    ASSERT_EQ(notes.saves.size(), 1);
    EXPECT_EQ(notes.saves.first().first, "");
}

TEST_F(NoteDebounce, AnUnchangedDraftIsNotSaved)
{
    controller->startEditing();
    type("olde");
    type("old");
    clock.advance(1000);
    controller->commit();
    EXPECT_TRUE(notes.saves.isEmpty());
}

TEST_F(NoteDebounce, APendingSaveIsWrittenForItsClipWhenTheClipChanges)
{
    controller->startEditing();
    type("for clip one");
    controller->setClipId(2);
    ASSERT_EQ(notes.saves.size(), 1);
    EXPECT_EQ(notes.saves.first(), qMakePair(QStringLiteral("for clip one"), std::int64_t(1)));
    EXPECT_FALSE(controller->editing());
    EXPECT_EQ(controller->draft(), "");
    clock.advance(5000);
    EXPECT_EQ(notes.saves.size(), 1);
}

TEST_F(NoteDebounce, DestructionAndQuitWriteAPendingSave)
{
    controller->startEditing();
    type("typed just before closing");
    controller.reset();
    ASSERT_EQ(notes.saves.size(), 1);
    EXPECT_EQ(clock.pendingCount(), 0);

    test::ensureGuiApplication();
    controller = std::make_unique<NoteEditorController>(clock, notes.sink());
    controller->setClipId(2);
    controller->startEditing();
    type("typed just before quitting");
    QMetaObject::invokeMethod(qApp, "aboutToQuit", Qt::DirectConnection);
    ASSERT_EQ(notes.saves.size(), 2);
    EXPECT_EQ(notes.saves.last(), qMakePair(QStringLiteral("typed just before quitting"), std::int64_t(2)));
    controller.reset();
}

TEST_F(NoteDebounce, StartingToEditReleasesTheSearchField)
{
    QSignalSpy released(&AppEvents::instance(), &AppEvents::releaseSearchFocus);
    controller->startEditing();
    EXPECT_EQ(released.count(), 1);
    EXPECT_TRUE(controller->editing());
}

} // namespace

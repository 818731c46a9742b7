#include "HighlightedTextItem.h"
#include "PopoverClipModel.h"
#include "StoreFixture.h"
#include "UiSetup.h"

#include <QQmlComponent>
#include <QQmlEngine>

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace corvane;
using namespace corvane::test;

TEST(HighlightedTextItem, MatchesLineLimitAndElision)
{
    ensureGuiApplication();
    HighlightedTextItem item;
    item.setWidth(120);
    item.setText(QStringLiteral("<b>review</b> & review again"));
    item.setTerms({QStringLiteral("review")});
    EXPECT_EQ(item.spanCount(), 2) << "the markup is text, so both words match";
    EXPECT_TRUE(item.truncated());

    item.setWidth(2000);
    EXPECT_FALSE(item.truncated());

    QSignalSpy textChanged(&item, &HighlightedTextItem::textChanged);
    item.setText(item.text());
    EXPECT_EQ(textChanged.count(), 0);

    item.setWidth(80);
    item.setMaximumLineCount(2);
    const qreal twoLines = item.implicitHeight();
    item.setMaximumLineCount(1);
    EXPECT_LT(item.implicitHeight(), twoLines);

    item.setTerms({});
    EXPECT_EQ(item.spanCount(), 0);
}

class PopoverClipModelTest : public StoreFixture
{ };

TEST_F(PopoverClipModelTest, UpdatesRowsInPlace)
{
    addMany(5);
    PopoverClipModel model(true);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model.setClips(store->clips(), clock.now(), QTimeZone::utc());
    ASSERT_EQ(model.count(), 5);
    EXPECT_EQ(model.data(model.index(0), PopoverClipModel::SubtitleRole).toString(), "Unknown · 1 min ago");

    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    ClipList reordered = store->clips();
    reordered.move(3, 0);
    reordered.removeAt(4);
    model.setClips(reordered, clock.now(), QTimeZone::utc());
    // The three rows already in order stay; the moved one leaves and comes back at the top.
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(inserted.count(), 1);
    EXPECT_EQ(removed.count(), 1);
    for (int i = 0; i < reordered.size(); ++i)
        EXPECT_EQ(model.data(model.index(i), PopoverClipModel::ClipIdRole).toLongLong(), reordered.at(i)->id);
    EXPECT_EQ(model.data(model.index(0), PopoverClipModel::ShortcutLabelRole).toString(), "Ctrl+1");
}

TEST(TagDots, OverlapByTwoPointsWithOneLabel)
{
    ensureGuiApplication();
    QQmlEngine engine;
    installUi(engine, nullptr);
    QQmlComponent component(&engine);
    component.setData("import Corvane.Main\nTagDots { tags: [0, 4]; size: 8 }", QUrl("qrc:/TagDotsTest.qml"));
    std::unique_ptr<QObject> dots(component.create());
    ASSERT_TRUE(dots) << component.errorString().toStdString();
    auto *row = qobject_cast<QQuickItem *>(dots.get());
    EXPECT_EQ(row->implicitWidth(), 14.0) << "two 8-point dots, 2 points over each other";
    EXPECT_EQ(row->property("accessibleLabel").toString(), "Red, Blue tags");
}

#include "DragExport.h"
#include "StoreFixture.h"

#include <QBuffer>
#include <QDir>
#include <QImage>

using namespace corvane;
using namespace corvane::test;

namespace {

class DragExportTest : public StoreFixture
{
protected:
    std::int64_t addImage(const QString &name)
    {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        ClipDatabase::NewClip c;
        c.group = ClipGroup::image;
        c.image = png;
        c.thumbnail = png;
        c.imageSize = image.size();
        c.byteSize = png.size();
        c.detail = name;
        c.createdAt = clock.now().toMSecsSinceEpoch() / 1000.0;
        c.hash = "image\n" + name;
        return store->database()->insert(c).id;
    }
    QString base() const { return dir.filePath("drag"); }
};

} // namespace

TEST_F(DragExportTest, ImageIsWrittenAndItsFolderGoesWithTheClip)
{
    const auto a = addImage("Holiday.jpeg");
    const auto b = addImage("Receipt.png");
    store->reload();
    DragExport exporter;
    exporter.setBaseFolder(base());
    exporter.setStore(store.get());

    const DragPlan plan = exporter.prepare({a});
    ASSERT_EQ(plan.kind, DragPlan::Kind::ImageFile);
    const QString file = base() + "/Corvane Drag " + QString::number(a) + "/Holiday.png";
    EXPECT_EQ(plan.url.toLocalFile(), file);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), store->database()->imageData(a).value());
    exporter.prepare({b});

    store->deleteClip(a);
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(base() + "/Corvane Drag " + QString::number(b)));

    store->database()->exec("DELETE FROM clips WHERE pinned = 0 AND tags = 0");
    store->reload();
    EXPECT_TRUE(QDir(base()).isEmpty()) << "clearing the history clears the drag folders";
}

TEST_F(DragExportTest, SeveralClipsAndMissingOnesDragTheirTexts)
{
    const auto one = add(ClipGroup::text, "one", 3);
    const auto two = add(ClipGroup::link, "https://two.example", 2);
    store->reload();
    DragExport exporter;
    exporter.setBaseFolder(base());
    exporter.setStore(store.get());
    EXPECT_EQ(exporter.prepare({one, 999, two}), DragPlan::textOf("one\nhttps://two.example"));
    EXPECT_EQ(exporter.prepare({999}).kind, DragPlan::Kind::None);
    EXPECT_FALSE(exporter.start({QVariant::fromValue<qint64>(999)}, nullptr));
}

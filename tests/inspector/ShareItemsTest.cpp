#include "InspectorFixture.h"
#include "ShareController.h"
#include "ShareItems.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrlQuery>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

class ShareTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"a.txt", "b.txt"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
        sources.fullImage = [this](std::int64_t id) { return images.value(id); };
        sources.exists = [](const QString &path) { return QFileInfo::exists(path); };
        sources.home = dir.path();
    }

    QList<ShareItem> itemsOf(ClipGroup group, const std::optional<QString> &text, std::int64_t id = 1)
    {
        Clip clip;
        clip.id = id;
        clip.group = group;
        return shareItems(clip, text, sources);
    }

    QTemporaryDir dir;
    QHash<std::int64_t, QImage> images;
    ShareSources sources;
};

TEST_F(ShareTable, ItemsByGroup)
{
    const auto link = itemsOf(ClipGroup::link, QStringLiteral("  https://example.com/x \n"));
    ASSERT_EQ(link.size(), 1);
    EXPECT_EQ(link.first().kind, ShareItem::Kind::url);
    EXPECT_EQ(link.first().url, QUrl("https://example.com/x"));
    const auto prose = itemsOf(ClipGroup::link, QStringLiteral(" not a url "));
    EXPECT_EQ(prose.first().kind, ShareItem::Kind::text);
    EXPECT_EQ(prose.first().text, " not a url ");
    EXPECT_EQ(itemsOf(ClipGroup::link, std::nullopt).first().text, "");

    const QString files = dir.filePath("a.txt") + "\n\n" + dir.filePath("gone.txt") + "\n~/b.txt\n";
    const auto existing = itemsOf(ClipGroup::file, files);
    ASSERT_EQ(existing.first().kind, ShareItem::Kind::files);
    EXPECT_EQ(existing.first().files,
              (QList<QUrl>{QUrl::fromLocalFile(dir.filePath("a.txt")), QUrl::fromLocalFile(dir.filePath("b.txt"))}));
    const auto none = itemsOf(ClipGroup::file, QStringLiteral("/nowhere/1\n/nowhere/2"));
    EXPECT_EQ(none.first().kind, ShareItem::Kind::text);
    EXPECT_EQ(none.first().text, "/nowhere/1\n/nowhere/2");

    EXPECT_TRUE(itemsOf(ClipGroup::image, std::nullopt, 7).isEmpty());
    images.insert(7, QImage(4, 4, QImage::Format_RGB32));
    EXPECT_EQ(itemsOf(ClipGroup::image, std::nullopt, 7).first().kind, ShareItem::Kind::image);

    EXPECT_EQ(itemsOf(ClipGroup::text, std::nullopt).first().text, "");
    EXPECT_EQ(itemsOf(ClipGroup::code, QStringLiteral("int x;")).first().text, "int x;");
}

TEST_F(ShareTable, MailtoBodyIsFullyEncodedAndLimited)
{
    const QString body = QStringLiteral("Tom & Jerry = fun? #1 100% ✓\nnext&attach=/etc/passwd");
    const auto url = mailtoUrl(itemsOf(ClipGroup::text, body));
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "mailto");
    EXPECT_FALSE(url->toEncoded().contains("&"));
    EXPECT_EQ(QUrlQuery(*url).queryItemValue("body", QUrl::FullyDecoded), body);

    EXPECT_TRUE(mailtoUrl(itemsOf(ClipGroup::text, QString(2000, u'x'))));
    EXPECT_FALSE(mailtoUrl(itemsOf(ClipGroup::text, QString(2001, u'x'))));
    EXPECT_TRUE(mailtoUrl(itemsOf(ClipGroup::link, QStringLiteral("https://example.com"))));
    EXPECT_FALSE(mailtoUrl(itemsOf(ClipGroup::file, dir.filePath("a.txt"))));
}

TEST_F(ShareTable, SaveToFileWritesEachKind)
{
    const QString textPath = dir.filePath("out.txt");
    EXPECT_FALSE(saveShareItems(itemsOf(ClipGroup::text, QStringLiteral("héllo")), textPath));
    QFile text(textPath);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(text.readAll(), QString::fromUtf8("héllo").toUtf8());

    images.insert(3, QImage(5, 6, QImage::Format_RGB32));
    const QString pngPath = dir.filePath("out.png");
    EXPECT_FALSE(saveShareItems(itemsOf(ClipGroup::image, std::nullopt, 3), pngPath));
    EXPECT_EQ(QImage(pngPath).size(), QSize(5, 6));

    QDir(dir.path()).mkdir("target");
    const auto files = itemsOf(ClipGroup::file, dir.filePath("a.txt"));
    EXPECT_FALSE(saveShareItems(files, dir.filePath("target")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("target/a.txt")));
    // A second copy would overwrite: refused with a reason.
    EXPECT_TRUE(saveShareItems(files, dir.filePath("target")));
    EXPECT_TRUE(saveShareItems(itemsOf(ClipGroup::text, QStringLiteral("x")), dir.filePath("no/such/folder.txt")));
    EXPECT_EQ(suggestedFileName(itemsOf(ClipGroup::image, std::nullopt, 3)), "Image.png");
}

class ShareControllerTest : public test::InspectorFixture
{ };

TEST_F(ShareControllerTest, EmailDraftsTheTextAndAFailedSaveWarns)
{
    const auto text = add(ClipGroup::text, QStringLiteral("Lunch & a walk?"), 20);
    const auto image = add(ClipGroup::image, QString(), 10);
    store->reload();
    ShareController share;
    share.setStore(store.get());

    share.setClipId(image);
    EXPECT_FALSE(share.prepare()); // its image cannot be loaded: nothing to share

    share.setClipId(text);
    ASSERT_TRUE(share.prepare());
    ASSERT_TRUE(share.canEmail());
    share.email();
    ASSERT_EQ(desktop.openedUrls().size(), 1);
    EXPECT_EQ(desktop.openedUrls().first().toEncoded(), "mailto:?body=Lunch%20%26%20a%20walk%3F");

    EXPECT_TRUE(share.suggestedFile().toLocalFile().endsWith("/Clip.txt"));
    EXPECT_FALSE(share.saveTo(QUrl::fromLocalFile(dir.filePath("no/such/Clip.txt"))));
    ASSERT_TRUE(store->notice());
    EXPECT_EQ(store->notice()->kind, Notice::Kind::warning);
    EXPECT_TRUE(share.saveTo(QUrl::fromLocalFile(dir.filePath("Clip.txt"))));
}

} // namespace

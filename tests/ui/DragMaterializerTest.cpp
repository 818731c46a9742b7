#include "DragMaterializer.h"
#include "DragMimeData.h"

#include "ClipDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace corvane;

namespace {

DragPlan imagePlan(std::int64_t id, const QString &name, const QString &text = {})
{
    DragPlan plan;
    plan.kind = DragPlan::Kind::Image;
    plan.clipId = id;
    plan.fileName = name;
    plan.text = text;
    return plan;
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class DragMaterializerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        base = root.filePath("runtime/corvane");
        images[5] = QByteArray("\x89PNG first", 10);
        images[6] = QByteArray("\x89PNG other", 10);
    }
    DragMaterializer materializer()
    {
        return DragMaterializer(base, [this](std::int64_t id) -> std::optional<QByteArray> {
            if (failing)
                throw ClipDatabase::Error(ClipDatabase::Error::Kind::step, "disk I/O error");
            if (!images.contains(id))
                return std::nullopt;
            return images.value(id);
        });
    }
    QString folder(std::int64_t id) const { return base + "/Corvane Drag " + QString::number(id); }

    QTemporaryDir root;
    QString base;
    QHash<std::int64_t, QByteArray> images;
    bool failing = false;
};

} // namespace

TEST_F(DragMaterializerTest, WritesPrivateFileThatRoundTrips)
{
    const DragPlan plan = materializer().materialize(imagePlan(5, "Photo.png"));
    ASSERT_EQ(plan.kind, DragPlan::Kind::ImageFile);
    const QString path = folder(5) + "/Photo.png";
    EXPECT_EQ(plan.url, QUrl::fromLocalFile(path));
    EXPECT_EQ(readFile(path), images[5]);

    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(folder(5)).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(base).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(DragMaterializerTest, SecondDragReplacesTheFileWholeAndReusesAnUnchangedOne)
{
    auto m = materializer();
    m.materialize(imagePlan(5, "Photo.png"));
    const QString path = folder(5) + "/Photo.png";
    struct stat before { };
    ::stat(QFile::encodeName(path).constData(), &before);

    m.materialize(imagePlan(5, "Photo.png"));
    struct stat same { };
    ::stat(QFile::encodeName(path).constData(), &same);
    EXPECT_EQ(same.st_ino, before.st_ino) << "an unchanged file is not rewritten";

    images[5] = QByteArray("\x89PNG replaced, longer", 21);
    m.materialize(imagePlan(5, "Photo.png"));
    EXPECT_EQ(readFile(path), images[5]);
    EXPECT_EQ(QDir(folder(5)).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";
    EXPECT_NE(folder(5), folder(6));
}

TEST_F(DragMaterializerTest, PlantedLinksAreNotFollowed)
{
    QTemporaryDir elsewhere;
    auto m = materializer();
    m.materialize(imagePlan(6, "x.png")); // creates the base folder

    ASSERT_TRUE(QFile::link(elsewhere.path(), folder(5)));
    EXPECT_EQ(m.materialize(imagePlan(5, "Photo.png", "caption")), DragPlan::textOf("caption"));
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());

    QFile::remove(folder(5));
    QDir().mkdir(folder(5));
    QFile::setPermissions(folder(5), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString victim = elsewhere.filePath("victim");
    QFile v(victim);
    ASSERT_TRUE(v.open(QIODevice::WriteOnly));
    v.write("keep");
    v.close();
    ASSERT_TRUE(QFile::link(victim, folder(5) + "/Photo.png"));
    EXPECT_EQ(m.materialize(imagePlan(5, "Photo.png", "caption")), DragPlan::textOf("caption"));
    EXPECT_EQ(readFile(victim), "keep");
}

TEST_F(DragMaterializerTest, FailuresFallBackToText)
{
    auto m = materializer();
    EXPECT_EQ(m.materialize(imagePlan(9, "Missing.png", "alt")), DragPlan::textOf("alt")) << "no image data";
    EXPECT_EQ(m.materialize(imagePlan(9, "Missing.png")).kind, DragPlan::Kind::None) << "nothing to drag";
    failing = true;
    EXPECT_EQ(m.materialize(imagePlan(5, "Photo.png", "alt")), DragPlan::textOf("alt")) << "database error";

    failing = false;
    QDir().mkpath(base);
    QFile::setPermissions(base, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    EXPECT_EQ(m.materialize(imagePlan(5, "Photo.png", "alt")), DragPlan::textOf("alt")) << "shared base folder";
}

TEST_F(DragMaterializerTest, FoldersOfGoneClipsAreRemoved)
{
    auto m = materializer();
    m.materialize(imagePlan(5, "a.png"));
    m.materialize(imagePlan(6, "b.png"));
    QTemporaryDir elsewhere;
    QFile keep(elsewhere.filePath("keep"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.close();
    ASSERT_TRUE(QFile::link(elsewhere.path(), folder(7)));

    m.removeFoldersExcept({6});
    EXPECT_FALSE(QFileInfo::exists(folder(5)));
    EXPECT_TRUE(QFileInfo::exists(folder(6) + "/b.png"));
    EXPECT_FALSE(QFileInfo(folder(7)).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(elsewhere.filePath("keep"))) << "a link's target is left alone";

    m.removeAll();
    EXPECT_TRUE(QDir(base).isEmpty());
}

TEST_F(DragMaterializerTest, DropDataPerPlan)
{
    const DragPlan written = materializer().materialize(imagePlan(5, "Photo.png"));
    DragMimeData image(written);
    EXPECT_EQ(image.urls(), QList<QUrl>{written.url});
    EXPECT_TRUE(image.hasFormat("image/png"));
    EXPECT_TRUE(image.formats().contains("image/png"));
    // Read when asked, so a drop gets the file as it is then.
    QFile file(written.url.toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\x89PNG later");
    file.close();
    EXPECT_EQ(image.data("image/png"), QByteArray("\x89PNG later"));
    EXPECT_EQ(image.data("application/x-kde-suggestedfilename"), "Photo.png");

    DragPlan link;
    link.kind = DragPlan::Kind::Url;
    link.url = QUrl("https://example.com");
    link.text = "https://example.com";
    DragMimeData url(link);
    EXPECT_EQ(url.urls(), QList<QUrl>{link.url});
    EXPECT_EQ(url.text(), "https://example.com");
    EXPECT_FALSE(url.hasFormat("image/png"));

    DragMimeData text(DragPlan::textOf("plain"));
    EXPECT_EQ(text.text(), "plain");
    EXPECT_FALSE(text.hasUrls());
}

#include "DragPlan.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

Clip clipOf(ClipGroup group, std::optional<QString> text, std::int64_t id = 1)
{
    Clip c;
    c.id = id;
    c.group = group;
    c.setText(std::move(text));
    c.createdAt = QDateTime(QDate(2025, 3, 2), QTime(14, 5, 9)).toSecsSinceEpoch();
    return c;
}

class DragPlanTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QDir(dir.path()).mkdir("folder");
        QFile f(dir.filePath("notes.txt"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        env.homePath = dir.path();
        env.hasDatabase = true;
        env.pathExists = [](const QString &p) { return QFileInfo::exists(p); };
    }
    QTemporaryDir dir;
    DragEnvironment env;
};

} // namespace

TEST_F(DragPlanTest, OneClipByGroup)
{
    const QString notes = dir.filePath("notes.txt");
    const QString missing = dir.filePath("gone.txt");
    struct Case {
        const char *why;
        Clip clip;
        DragPlan::Kind kind;
        QString text;
        QUrl url;
    };
    const Case cases[] = {
        {"link is trimmed", clipOf(ClipGroup::link, "  https://example.com/a?b=1 \n"), DragPlan::Kind::Url,
         "https://example.com/a?b=1", QUrl("https://example.com/a?b=1")},
        {"link with inner spaces is text",
         clipOf(ClipGroup::link, "https://exa mple.com"),
         DragPlan::Kind::Text,
         "https://exa mple.com",
         {}},
        {"link without scheme is text",
         clipOf(ClipGroup::link, "example.com/page"),
         DragPlan::Kind::Text,
         "example.com/page",
         {}},
        {"existing file", clipOf(ClipGroup::file, notes), DragPlan::Kind::File, {}, QUrl::fromLocalFile(notes)},
        {"folder",
         clipOf(ClipGroup::file, dir.filePath("folder")),
         DragPlan::Kind::File,
         {},
         QUrl::fromLocalFile(dir.filePath("folder"))},
        {"tilde expands to home", clipOf(ClipGroup::file, "~/notes.txt"), DragPlan::Kind::File, {}, QUrl::fromLocalFile(notes)},
        {"missing file gives all lines",
         clipOf(ClipGroup::file, missing + "\n" + notes),
         DragPlan::Kind::Text,
         missing + "\n" + notes,
         {}},
        {"only the first path counts",
         clipOf(ClipGroup::file, "\n\n" + notes + "\n" + missing),
         DragPlan::Kind::File,
         {},
         QUrl::fromLocalFile(notes)},
        {"~user is not expanded", clipOf(ClipGroup::file, "~bob/notes.txt"), DragPlan::Kind::Text, "~bob/notes.txt", {}},
        {"relative path is text", clipOf(ClipGroup::file, "notes.txt"), DragPlan::Kind::Text, "notes.txt", {}},
        {"secret drags its clear text", clipOf(ClipGroup::secret, "hunter2"), DragPlan::Kind::Text, "hunter2", {}},
        {"code is text", clipOf(ClipGroup::code, "int x;"), DragPlan::Kind::Text, "int x;", {}},
    };
    for (const Case &c : cases) {
        const DragPlan plan = planDrag({c.clip}, env);
        EXPECT_EQ(plan.kind, c.kind) << c.why;
        EXPECT_EQ(plan.text, c.text) << c.why;
        EXPECT_EQ(plan.url, c.url) << c.why;
    }
}

TEST_F(DragPlanTest, ImagesNeedTheDatabase)
{
    Clip image = clipOf(ClipGroup::image, std::nullopt, 42);
    image.detail = QStringLiteral("Photo.heic");
    const DragPlan plan = planDrag({image}, env);
    EXPECT_EQ(plan.kind, DragPlan::Kind::Image);
    EXPECT_EQ(plan.clipId, 42);
    EXPECT_EQ(plan.fileName, "Photo.png");

    env.hasDatabase = false;
    EXPECT_EQ(planDrag({image}, env).kind, DragPlan::Kind::None) << "no text to fall back to";
    image.setText(QStringLiteral("caption"));
    EXPECT_EQ(planDrag({image}, env), DragPlan::textOf("caption"));
}

TEST_F(DragPlanTest, SeveralClipsJoinTheirTexts)
{
    const QList<Clip> three{clipOf(ClipGroup::text, "one", 1), clipOf(ClipGroup::image, std::nullopt, 2),
                            clipOf(ClipGroup::link, "https://two.example", 3)};
    EXPECT_EQ(planDrag(three, env), DragPlan::textOf("one\nhttps://two.example"));

    const QList<Clip> textless{clipOf(ClipGroup::image, std::nullopt, 1), clipOf(ClipGroup::image, std::nullopt, 2)};
    EXPECT_EQ(planDrag(textless, env).kind, DragPlan::Kind::None) << "an empty drag is never started";
    EXPECT_EQ(planDrag({}, env).kind, DragPlan::Kind::None);
}

TEST_F(DragPlanTest, TruncatedTextIsDraggedWhole)
{
    Clip longClip = clipOf(ClipGroup::text, "prefix", 7);
    longClip.textIsTruncated = true;
    env.fullText = [](std::int64_t id) { return id == 7 ? std::optional<QString>("prefix and the rest") : std::nullopt; };
    EXPECT_EQ(planDrag({longClip}, env), DragPlan::textOf("prefix and the rest"));
}

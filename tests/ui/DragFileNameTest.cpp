#include "DragImageFileName.h"

#include <gtest/gtest.h>

using namespace corvane;

namespace {

const QDateTime created(QDate(2025, 3, 2), QTime(14, 5, 9));
const QString dated = QStringLiteral("Image 2025-03-02 at 14.05.09.png");

struct NameCase {
    const char *why;
    QString detail;
    QString expected;
};

} // namespace

TEST(DragFileName, NamesFromDetailOrDate)
{
    const NameCase cases[] = {
        {"name with spaces keeps it", "My Photo.png", "My Photo.png"},
        {"slash and colon become hyphens", "Shots/2025:03 draft.tiff", "Shots-2025-03 draft.png"},
        {"no detail uses the date", "", dated},
        {"extension alone leaves no stem", ".png", dated},
        {"only the last dot goes", "archive.tar.gz", "archive.tar.png"},
        {"a dot in a folder is no extension", "v1.2/photo", "v1.2-photo.png"},
        {"a trailing slash is dropped", "Screenshots/", "Screenshots.png"},
        {"empty pieces are kept", "a//b", "a--b.png"},
        {"control characters are removed", QStringLiteral("bad\u0000na\nme.png"), "badname.png"},
        {"only control characters", QStringLiteral("\u0001\u0002.jpg"), dated},
    };
    for (const NameCase &c : cases)
        EXPECT_EQ(dragImageFileName(c.detail, created), c.expected) << c.why;
}

TEST(DragFileName, LongMultibyteNameFitsOnACodePoint)
{
    // 200 two-unit emoji (4 UTF-8 bytes each) plus "é" pieces: far beyond 255 bytes.
    QString detail;
    for (int i = 0; i < 200; ++i)
        detail += QStringLiteral("\U0001F600é");
    const QString name = dragImageFileName(detail + QStringLiteral(".jpeg"), created);
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_TRUE(name.endsWith(QStringLiteral(".png")));
    EXPECT_FALSE(name.contains(QChar::ReplacementCharacter));
    const QString stem = name.chopped(4);
    EXPECT_FALSE(stem.back().isHighSurrogate());
    EXPECT_EQ(QString::fromUtf8(name.toUtf8()), name);
}

TEST(DragFileName, DateDigitsAreLatinInAnyLocale)
{
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(dragImageFileName({}, created), dated);
    QLocale::setDefault(QLocale::c());
}

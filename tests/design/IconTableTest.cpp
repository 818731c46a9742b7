#include "IconImageProvider.h"
#include "IconTable.h"
#include "Icons.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

using namespace corvane;

namespace {

// Symbol names used in QML: every quoted name on a line that hands a symbol to an icon.
QMap<QString, QString> symbolsUsedInQml()
{
    static const QRegularExpression iconLine(
        QStringLiteral(R"((\bsystemImage\b|\biconName\b|Icons\.(url|has)\(|image://icon/))"));
    static const QRegularExpression quoted(QStringLiteral(R"re("([a-z0-9]+(\.[a-z0-9]+)*)")re"));
    static const QRegularExpression inUrl(QStringLiteral(R"(image://icon/([a-z0-9.]+))"));
    QMap<QString, QString> used; // name -> first place
    QDirIterator it(QStringLiteral(CORVANE_SOURCE_DIR), {QStringLiteral("*.qml")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(QLatin1String("/build")) || path.contains(QLatin1String("/.git/")))
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        int number = 0;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine());
            ++number;
            if (!iconLine.match(line).hasMatch())
                continue;
            const QString where = QFileInfo(path).fileName() + u':' + QString::number(number);
            for (const auto &re : {quoted, inUrl}) {
                auto matches = re.globalMatch(line);
                while (matches.hasNext())
                    used.insert(matches.next().captured(1), where);
            }
        }
    }
    return used;
}

} // namespace

TEST(IconTable, EveryEntryPointsToAnInstalledSvgOfTheRightWeight)
{
    const QStringList names = IconTable::names();
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "duplicate names";
    for (const QString &name : names) {
        const QString path = IconTable::path(name);
        EXPECT_TRUE(QFileInfo::exists(path)) << name.toStdString() << " -> " << path.toStdString();
        EXPECT_EQ(name.endsWith(QLatin1String(".fill")), path.endsWith(QLatin1String("-fill.svg"))) << name.toStdString();
    }
    EXPECT_TRUE(IconTable::path(QStringLiteral("no.such.symbol")).isEmpty());
    EXPECT_TRUE(IconTable::path(QStringLiteral("../../etc/passwd")).isEmpty());
}

TEST(IconTable, TheIconSetsLicenceTravelsInsideTheProgram)
{
    QFile licence(QStringLiteral(":/licenses/bootstrap-icons.txt"));
    ASSERT_TRUE(licence.open(QIODevice::ReadOnly));
    const QByteArray text = licence.readAll();
    EXPECT_TRUE(text.contains("Bootstrap")) << "wrong file";
    EXPECT_TRUE(text.contains("Permission is hereby granted")) << "the MIT terms are missing";
}

TEST(IconTable, KnowsEverySymbolTheScreensName)
{
    const QStringList screens = {"pin",
                                 "pin.fill",
                                 "pin.slash",
                                 "doc.on.doc",
                                 "doc.on.clipboard",
                                 "checkmark",
                                 "checkmark.circle.fill",
                                 "circle.fill",
                                 "eye",
                                 "eye.slash",
                                 "trash",
                                 "globe",
                                 "safari",
                                 "app.badge",
                                 "app.dashed",
                                 "sparkles",
                                 "magnifyingglass",
                                 "xmark.circle.fill",
                                 "calendar",
                                 "calendar.badge.plus",
                                 "chevron.left",
                                 "chevron.right",
                                 "gearshape",
                                 "power",
                                 "pause.fill",
                                 "play.fill",
                                 "play.circle.fill",
                                 "square.and.arrow.up",
                                 "square.and.arrow.down",
                                 "square.and.pencil",
                                 "note.text",
                                 "lock.fill",
                                 "lock.shield",
                                 "hand.raised",
                                 "minus.circle.fill",
                                 "plus",
                                 "map",
                                 "phone",
                                 "airplane",
                                 "macwindow",
                                 "laptopcomputer",
                                 "ellipsis.circle",
                                 "sidebar.right",
                                 "textformat",
                                 "square.stack.3d.up",
                                 "exclamationmark.triangle.fill",
                                 "exclamationmark.triangle",
                                 "link",
                                 "photo",
                                 "doc",
                                 "number",
                                 "envelope",
                                 "key",
                                 "palette",
                                 "code",
                                 "text",
                                 "command",
                                 "square.grid.2x2",
                                 "clock.arrow.circlepath",
                                 "cursorarrow.click.2",
                                 "folder",
                                 "internaldrive"};
    for (const QString &name : screens)
        EXPECT_TRUE(Icons::has(name)) << name.toStdString();
}

TEST(IconTable, EverySymbolUsedInQmlResolves)
{
    const auto used = symbolsUsedInQml();
    EXPECT_GE(used.size(), 10) << "the scan found too little to be looking in the right place";
    for (auto it = used.cbegin(); it != used.cend(); ++it)
        EXPECT_TRUE(Icons::has(it.key())) << it.key().toStdString() << " at " << it.value().toStdString();
}

TEST(IconImageProvider, ReadsTheTintInEveryFormQmlMaySendIt)
{
    struct Case {
        QString id;
        QString name;
        QColor color;
    };
    const QList<Case> cases = {
        {"pin.fill?color=#FF5E3A", "pin.fill", QColor(0xFF5E3A)},
        {"pin.fill?color=%23ff5e3a", "pin.fill", QColor(0xFF5E3A)},
        {"eye?color=%23b36b6480", "eye", QColor(0x6B, 0x64, 0x80, 0xB3)},
        {"eye", "eye", QColor(Qt::black)},
        {"eye?color=nonsense", "eye", QColor(Qt::black)},
    };
    for (const Case &c : cases) {
        const auto [name, color] = IconImageProvider::parseId(c.id);
        EXPECT_EQ(name, c.name) << c.id.toStdString();
        EXPECT_EQ(color, c.color) << c.id.toStdString();
    }
    // What Icons.url produces reads back the same.
    const QUrl url = Icons::url(QStringLiteral("doc.on.doc"), QColor(0x2F, 0xBF, 0x71, 0x80));
    const QString id = url.toString(QUrl::RemoveScheme | QUrl::RemoveAuthority).mid(1);
    const auto [name, color] = IconImageProvider::parseId(id);
    EXPECT_EQ(name, "doc.on.doc");
    EXPECT_EQ(color, QColor(0x2F, 0xBF, 0x71, 0x80));
}

TEST(IconImageProvider, DrawsTheSymbolInTheTintAtTheRequestedSize)
{
    IconImageProvider provider;
    QSize size;
    const QImage image = provider.requestImage(QStringLiteral("pin.fill?color=%23ff5e3a"), &size, QSize(48, 48));
    ASSERT_EQ(size, QSize(48, 48));
    ASSERT_EQ(image.size(), QSize(48, 48));
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() == 255) {
                ++inked;
                EXPECT_EQ(pixel.rgb() & 0xFFFFFF, 0xFF5E3Au);
            }
        }
    }
    EXPECT_GT(inked, 48 * 48 / 10);

    const QImage unknown = provider.requestImage(QStringLiteral("no.such?color=%23ff0000"), &size, QSize(20, 20));
    EXPECT_EQ(unknown.size(), QSize(20, 20));
    EXPECT_EQ(unknown.pixelColor(10, 10).alpha(), 0);
}

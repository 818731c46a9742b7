#include "DesktopEntryParser.h"
#include "FakeLoginItem.h"
#include "XdgAutostartLoginItem.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace corvane;

namespace {

void overwrite(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

} // namespace

TEST(XdgAutostartLoginItem, EnableWritesAnEntryThatLaunchesThisProgramAndDisableRemovesIt)
{
    QTemporaryDir home;
    const QString executable = "/opt/Corvane App/corvane";
    XdgAutostartLoginItem item(home.filePath("config/autostart"), executable);
    EXPECT_FALSE(item.isEnabled());
    EXPECT_FALSE(item.setEnabled(false)); // nothing to remove is no failure

    EXPECT_FALSE(item.setEnabled(true));
    EXPECT_TRUE(item.isEnabled());
    QFile file(item.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto entry = DesktopEntryParser::parse(file.readAll(), "corvane", "C");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Corvane");
    EXPECT_EQ(DesktopEntryParser::programName(entry->exec), "corvane");
    EXPECT_TRUE(entry->exec.startsWith("\"/opt/Corvane App/corvane\""));

    EXPECT_FALSE(item.setEnabled(false));
    EXPECT_FALSE(item.isEnabled());
    EXPECT_FALSE(QFile::exists(item.filePath()));
}

TEST(XdgAutostartLoginItem, ReadsTheRealStateOfAnEntryTheUserEdited)
{
    QTemporaryDir home;
    XdgAutostartLoginItem item(home.path(), "/usr/bin/corvane");
    const QByteArray enabled = XdgAutostartLoginItem::entryContents("/usr/bin/corvane");
    const std::pair<QByteArray, bool> cases[] = {
        {enabled, true},
        {enabled + "Hidden=true\n", false},
        {enabled + "Hidden=false\n", true},
        {QByteArray(enabled).replace("X-GNOME-Autostart-enabled=true", "X-GNOME-Autostart-enabled=false"), false},
        {"garbage", false},
    };
    for (const auto &[contents, expected] : cases) {
        overwrite(item.filePath(), contents);
        EXPECT_EQ(item.isEnabled(), expected) << contents.toStdString();
    }
    // Enabling again repairs an entry switched off by Hidden=true.
    overwrite(item.filePath(), enabled + "Hidden=true\n");
    EXPECT_FALSE(item.setEnabled(true));
    EXPECT_TRUE(item.isEnabled());
}

TEST(XdgAutostartLoginItem, AFailedWriteReportsWhyAndLeavesTheStateAlone)
{
    QTemporaryDir home;
    overwrite(home.filePath("autostart"), "a file where the folder belongs");
    XdgAutostartLoginItem item(home.filePath("autostart"), "/usr/bin/corvane");
    const auto error = item.setEnabled(true);
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->isEmpty());
    EXPECT_FALSE(item.isEnabled());
}

TEST(FakeLoginItem, AFailureKeepsTheOldState)
{
    FakeLoginItem item;
    item.failNextWith("denied");
    EXPECT_EQ(item.setEnabled(true), QString("denied"));
    EXPECT_FALSE(item.isEnabled());
    EXPECT_FALSE(item.setEnabled(true));
    EXPECT_TRUE(item.isEnabled());
}

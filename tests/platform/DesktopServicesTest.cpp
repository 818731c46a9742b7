#include "LinuxDesktopServices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace corvane;

TEST(LinuxDesktopServices, FullNameIsTheGecosFieldBeforeTheFirstComma)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Ada Lovelace,,,", "Ada Lovelace"},
        {"Dr. Grace Hopper,Room 1,555-0100,555-0101,other", "Dr. Grace Hopper"},
        {"  Linus  ", "Linus"},
        {",,,", ""},
        {"", ""},
    };
    for (const auto &[gecos, name] : cases)
        EXPECT_EQ(LinuxDesktopServices::fullNameFromGecos(gecos), name) << gecos;
}

TEST(LinuxDesktopServices, PrettyHostnameFromMachineInfo)
{
    const std::pair<const char *, std::optional<QString>> cases[] = {
        {"PRETTY_HOSTNAME=\"Ada's Laptop\"\nCHASSIS=laptop\n", QString("Ada's Laptop")},
        {"CHASSIS=desktop\nPRETTY_HOSTNAME='Work \"PC\"'\n", QString("Work \"PC\"")},
        {"PRETTY_HOSTNAME=\"Say \\\"hi\\\"\"\n", QString("Say \"hi\"")},
        {"PRETTY_HOSTNAME=plain\n", QString("plain")},
        {"PRETTY_HOSTNAME=\"\"\n", std::nullopt},
        {"ICON_NAME=computer\n", std::nullopt},
    };
    for (const auto &[contents, expected] : cases)
        EXPECT_EQ(LinuxDesktopServices::prettyHostnameFromMachineInfo(contents), expected) << contents;
}

TEST(LinuxDesktopServices, PrivateFolderIsCreatedOwnerOnlyAndTightened)
{
    QTemporaryDir base;
    const QString fresh = base.filePath("fresh");
    EXPECT_FALSE(LinuxDesktopServices::ensurePrivateDir(fresh));
    struct stat info { };
    ASSERT_EQ(stat(QFile::encodeName(fresh).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const QString loose = base.filePath("loose");
    ASSERT_TRUE(QDir().mkdir(loose));
    chmod(QFile::encodeName(loose).constData(), 0755);
    EXPECT_FALSE(LinuxDesktopServices::ensurePrivateDir(loose));
    ASSERT_EQ(stat(QFile::encodeName(loose).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(LinuxDesktopServices, PrivateFolderRefusesSymlinksAndFiles)
{
    QTemporaryDir base;
    QTemporaryDir elsewhere;
    const QString link = base.filePath("link");
    ASSERT_TRUE(QFile::link(elsewhere.path(), link));
    EXPECT_TRUE(LinuxDesktopServices::ensurePrivateDir(link));

    const QString file = base.filePath("file");
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_TRUE(LinuxDesktopServices::ensurePrivateDir(file));
}

TEST(LinuxDesktopServices, PrivateTempDirLivesUnderTheRuntimeFolder)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    LinuxDesktopServices services;
    EXPECT_EQ(services.privateTempDir(), runtime.filePath("corvane"));
    qunsetenv("XDG_RUNTIME_DIR");
}

#include "DesktopEntryParser.h"
#include "FakeDesktopEntries.h"
#include "X11ActiveWindow.h"
#include "X11GlobalHotKeys.h"
#include "XdgDesktopEntries.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace corvane;

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray app(const QByteArray &name, const QByteArray &extra = {})
{
    return "[Desktop Entry]\nType=Application\nName=" + name + "\n" + extra;
}

} // namespace

TEST(DesktopEntryParser, ReadsTheFieldsOfAnApplicationEntry)
{
    const auto entry = DesktopEntryParser::parse(
        "# comment\n[Desktop Entry]\nType=Application\nName=Files\nName[de]=Dateien\nName[de_AT]=Dateien AT\n"
        "Icon=org.gnome.Nautilus\nExec=nautilus --new-window %U\nStartupWMClass=org.gnome.Nautilus\n"
        "NoDisplay=true\n[Desktop Action new]\nName=Ignored\n",
        "org.gnome.Nautilus", "de_CH.UTF-8");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "Dateien");
    EXPECT_EQ(entry->icon, "org.gnome.Nautilus");
    EXPECT_EQ(entry->startupWMClass, "org.gnome.Nautilus");
    EXPECT_TRUE(entry->noDisplay);
    const QByteArray serbian = app("Files", "Name[sr]=Датотеке\nName[sr@latin]=Datoteke\n");
    const std::pair<const char *, const char *> locales[] = {
        {"sr_RS.UTF-8@latin", "Datoteke"}, {"sr_RS", "Датотеке"}, {"sr@latin", "Datoteke"}, {"en_GB", "Files"}, {"C", "Files"}};
    for (const auto &[locale, name] : locales)
        EXPECT_EQ(DesktopEntryParser::parse(serbian, "x", locale)->name, QString::fromUtf8(name)) << locale;
    EXPECT_EQ(DesktopEntryParser::parse(app("A\\sB"), "x", "C")->name, "A B");
}

TEST(DesktopEntryParser, RejectsEntriesThatAreNotVisibleApplications)
{
    EXPECT_FALSE(DesktopEntryParser::parse("[Desktop Entry]\nType=Link\nName=L\n", "l", "C"));
    EXPECT_FALSE(DesktopEntryParser::parse(app("H", "Hidden=true\n"), "h", "C"));
    EXPECT_FALSE(DesktopEntryParser::parse("Name=No group\n", "n", "C"));
}

TEST(DesktopEntryParser, ProgramNameOfExecLines)
{
    const std::pair<const char *, const char *> cases[] = {
        {"firefox-esr %u", "firefox-esr"},
        {"/usr/bin/keepassxc %f", "keepassxc"},
        {"\"/opt/My App/bin/my app\" --flag", "my app"},
        {"env GDK_BACKEND=x11 -u FOO /usr/bin/code --new", "code"},
        {"%U", ""},
        {"", ""},
    };
    for (const auto &[exec, program] : cases)
        EXPECT_EQ(DesktopEntryParser::programName(exec), program) << exec;
}

TEST(DesktopEntryParser, QuotedExecArgumentsReadBackUnchanged)
{
    for (const QString path :
         {"/usr/bin/corvane", "/home/a b/Corvane App/corvane", "/tmp/x y/it's \"$HOME\"\\x`y`", "/opt/a b/100%done"}) {
        const QString quoted = DesktopEntryParser::quoteExecArgument(path);
        // '%' is doubled on the way in and only field codes are expanded by launchers.
        QString readBack = DesktopEntryParser::programName(quoted + " --flag");
        EXPECT_EQ(readBack.replace("%%", "%"), QFileInfo(path).fileName()) << quoted.toStdString();
    }
    EXPECT_EQ(DesktopEntryParser::quoteExecArgument("/usr/bin/corvane"), "/usr/bin/corvane");
}

TEST(DesktopEntryParser, IdsFollowTheSubfolderRule)
{
    EXPECT_EQ(DesktopEntryParser::idForPath("/usr/share/applications", "/usr/share/applications/firefox.desktop"), "firefox");
    EXPECT_EQ(DesktopEntryParser::idForPath("/usr/share/applications", "/usr/share/applications/kde4/kate.desktop"), "kde4-kate");
}

class XdgDesktopEntriesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid() && system.isValid());
        writeFile(home.filePath("applications/firefox.desktop"), app("Firefox (mine)", "Exec=firefox %u\n"));
        writeFile(home.filePath("applications/hidden-here.desktop"), app("Gone", "Hidden=true\n"));
        writeFile(system.filePath("applications/firefox.desktop"), app("Firefox", "Exec=firefox %u\n"));
        writeFile(system.filePath("applications/hidden-here.desktop"), app("Shown below"));
        writeFile(system.filePath("applications/org.keepassxc.KeePassXC.desktop"),
                  app("KeePassXC", "Exec=keepassxc %f\nIcon=keepassxc\nStartupWMClass=keepassxc\n"));
        writeFile(system.filePath("applications/org.gnome.Nautilus.desktop"), app("Files", "Exec=nautilus\n"));
        writeFile(system.filePath("applications/kde4/kate.desktop"), app("Kate", "Exec=/usr/bin/kate -b %U\n"));
        writeFile(system.filePath("applications/code-url-handler.desktop"),
                  app("Code URL", "Exec=/usr/share/code/code --open-url %U\nNoDisplay=true\n"));
        writeFile(system.filePath("applications/code.desktop"), app("Visual Studio Code", "Exec=/usr/share/code/code %F\n"));
        writeFile(system.filePath("applications/icon-path.desktop"),
                  app("Icon path", "Icon=" + home.filePath("i.png").toUtf8() + "\n"));
        QImage image(64, 32, QImage::Format_ARGB32);
        image.fill(Qt::red);
        image.save(home.filePath("i.png"));
    }

    QTemporaryDir home;
    QTemporaryDir system;
};

TEST_F(XdgDesktopEntriesTest, EarlierFoldersWinAndHiddenEntriesHideTheId)
{
    XdgDesktopEntries entries({home.path(), system.path()});
    EXPECT_EQ(entries.entry("firefox")->name, "Firefox (mine)");
    EXPECT_FALSE(entries.entry("hidden-here"));
    EXPECT_EQ(entries.entry("kde4-kate")->name, "Kate");
    EXPECT_EQ(entries.entry("ORG.KEEPASSXC.keepassxc")->id, "org.keepassxc.KeePassXC");
    EXPECT_EQ(entries.entry("org.keepassxc.KeePassXC")->path, system.filePath("applications/org.keepassxc.KeePassXC.desktop"));
}

TEST_F(XdgDesktopEntriesTest, WindowsMatchByWMClassThenIdThenProgram)
{
    XdgDesktopEntries entries({home.path(), system.path()});
    struct Case {
        const char *instance, *klass, *executable;
        std::optional<QString> id;
    };
    const Case cases[] = {
        {"keepassxc", "KeePassXC", "", QString("org.keepassxc.KeePassXC")},       // StartupWMClass
        {"Navigator", "firefox", "/usr/lib/firefox/firefox", QString("firefox")}, // file name
        {"org.gnome.Nautilus", "Org.gnome.Nautilus", "", QString("org.gnome.Nautilus")},
        {"nautilus", "Nautilus", "", QString("org.gnome.Nautilus")}, // reverse-domain suffix
        {"x", "Y", "/usr/bin/kate", QString("kde4-kate")},           // program
        {"x", "Y", "/usr/share/code/code", QString("code")},         // visible entry preferred
        {"unknown", "Unknown", "/usr/bin/unknown", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(entries.matchWindow(c.instance, c.klass, c.executable), c.id) << c.klass;
}

TEST_F(XdgDesktopEntriesTest, IdentityFallsBackToTheLowerCasedWindowClass)
{
    XdgDesktopEntries entries({home.path(), system.path()});
    EXPECT_EQ(X11ActiveWindow::identify(entries, "keepassxc", "KeePassXC", ""),
              (AppIdentity{"org.keepassxc.KeePassXC", "KeePassXC", 0}));
    EXPECT_EQ(X11ActiveWindow::identify(entries, "gimp-2.10", "Gimp-2.10", ""), (AppIdentity{"gimp-2.10", "Gimp-2.10", 0}));
    EXPECT_FALSE(X11ActiveWindow::identify(entries, "", "", ""));
}

TEST_F(XdgDesktopEntriesTest, IconsFromAbsolutePathsAreScaledToTheAskedSize)
{
    XdgDesktopEntries entries({home.path(), system.path()});
    const QImage icon = entries.icon("icon-path", 16);
    EXPECT_EQ(icon.size(), QSize(16, 8));
    EXPECT_TRUE(entries.icon("firefox", 16).isNull()); // no Icon key
    EXPECT_TRUE(entries.icon("missing", 16).isNull());
}

TEST(FakeDesktopEntries, MatchesLikeTheRealIndex)
{
    FakeDesktopEntries entries;
    entries.add({"org.keepassxc.KeePassXC", "KeePassXC", "keepassxc", "keepassxc", "keepassxc", {}, false});
    EXPECT_EQ(entries.matchWindow("keepassxc", "KeePassXC", ""), QString("org.keepassxc.KeePassXC"));
    EXPECT_EQ(entries.allEntries().size(), 1);
}

TEST(X11ActiveWindow, AnswersNothingWithoutX11)
{
    FakeDesktopEntries entries;
    X11ActiveWindow active(entries);
    EXPECT_FALSE(active.isAvailable());
    EXPECT_FALSE(active.frontmostApp());
    EXPECT_TRUE(active.runningApps().isEmpty());
    EXPECT_FALSE(active.isSecureInputActive());
}

TEST(X11GlobalHotKeys, ReportsKeysUnavailableWithoutX11)
{
    X11GlobalHotKeys keys;
    EXPECT_FALSE(keys.isAvailable());
    EXPECT_EQ(keys.registerHotKey("toggle", QKeySequence("Meta+Shift+V")), HotKeyStatus::unavailable);
    EXPECT_EQ(keys.status("toggle"), HotKeyStatus::unavailable);
}

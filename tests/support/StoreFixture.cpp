#include "StoreFixture.h"
#include "TestApplication.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

namespace corvane::test {

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "ui_tests";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

ClipDatabase::NewClip textClip(ClipGroup group, const QString &text, double createdAt, const QString &source)
{
    ClipDatabase::NewClip clip;
    clip.group = group;
    clip.text = text;
    clip.byteSize = text.toUtf8().size();
    clip.createdAt = createdAt;
    clip.hash = ClipGroups::rawValue(group) + u'\n' + text;
    if (!source.isEmpty()) {
        clip.sourceBundleID = source;
        clip.sourceName = source;
    }
    return clip;
}

QByteArray pngOf(QColor color)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

QList<std::int64_t> ids(const ClipList &clips)
{
    QList<std::int64_t> result;
    for (const ClipRef &clip : clips)
        result.append(clip->id);
    return result;
}

StoreSetup::StoreSetup()
{
    settingsFile = std::make_unique<QSettings>(dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    reloadSettings();
}

StoreSetup::~StoreSetup() = default;

void StoreSetup::reloadSettings()
{
    store.reset(); // it reads the settings it was made with
    settings = std::make_unique<AppSettings>(settingsFile.get(), &loginItem);
}

ClipboardStore::Services StoreSetup::services(const QString &databasePath)
{
    ClipboardStore::Services services;
    services.settings = settings.get();
    services.clipboard = clipboardService();
    services.clock = &clock;
    services.desktopEntries = &entries;
    services.databasePath = databasePath.isEmpty() ? dir.filePath(QStringLiteral("history.sqlite")) : databasePath;
    services.timeZone = QTimeZone::utc();
    services.loadInBackground = loadInBackground;
    services.siteIcons = [this](const QString &host, const QString &scheme, std::function<void(const QImage &)> done) {
        siteIconRequests.append(scheme + QStringLiteral("://") + host);
        pendingSiteIcons.push_back(std::move(done));
    };
    return services;
}

ClipboardStore &StoreSetup::makeStore(const QString &databasePath) { return makeStore(services(databasePath)); }

ClipboardStore &StoreSetup::makeStore(const ClipboardStore::Services &given)
{
    store = std::make_unique<ClipboardStore>(given);
    return *store;
}

double StoreSetup::ago(double secondsAgo) const { return clock.now().toMSecsSinceEpoch() / 1000.0 - secondsAgo; }

std::int64_t StoreSetup::insert(const ClipDatabase::NewClip &clip) { return store->database()->insert(clip).id; }

std::int64_t StoreSetup::add(ClipGroup group, const QString &text, double secondsAgo, const QString &source)
{
    return insert(textClip(group, text, ago(secondsAgo), source));
}

QList<std::int64_t> StoreSetup::addMany(int count, int pinEvery)
{
    QList<std::int64_t> added;
    for (int i = 0; i < count; ++i) {
        const auto id = add(ClipGroup::text, QStringLiteral("clip %1").arg(i), 60.0 * (i + 1));
        added << id;
        if (pinEvery > 0 && i % pinEvery == pinEvery - 1)
            store->database()->setPinned(id, true, ago(i));
    }
    store->reload();
    return added;
}

std::int64_t StoreSetup::addText(const QString &text, double secondsAgo, ClipGroup group, const QString &sourceBundleID,
                                 const QString &sourceURL)
{
    ClipDatabase::NewClip clip = textClip(group, text, ago(secondsAgo), sourceBundleID);
    if (!sourceURL.isEmpty())
        clip.sourceURL = sourceURL;
    const std::int64_t id = insert(clip);
    store->reload();
    return id;
}

std::int64_t StoreSetup::addImage(const QByteArray &png, double secondsAgo)
{
    ClipDatabase::NewClip clip;
    clip.group = ClipGroup::image;
    clip.image = png;
    clip.thumbnail = png;
    clip.imageSize = QSize(4, 4);
    clip.byteSize = png.size();
    clip.createdAt = ago(secondsAgo);
    clip.hash = QStringLiteral("image\n") + QString::fromLatin1(png.toHex()) + QString::number(secondsAgo);
    const std::int64_t id = insert(clip);
    store->reload();
    return id;
}

QString StoreSetup::noticeMessage() const { return store->notice() ? store->notice()->message : QString(); }

QString StoreSetup::clipboardText() const { return clipboard.writes().empty() ? QString() : clipboard.writes().back().text; }

void StoreFixture::SetUp()
{
    ensureGuiApplication();
    ASSERT_TRUE(dir.isValid());
    prepareSettings(*settingsFile);
    reloadSettings();
    makeStore();
}

} // namespace corvane::test

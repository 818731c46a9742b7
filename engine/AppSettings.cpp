#include "AppSettings.h"
#include "Logging.h"

#include "LoginItem.h"
#include "PrivacyPolicy.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QSettings>
#include <QtDebug>

#include <algorithm>

namespace corvane {
namespace {

AppSettings *sharedInstance = nullptr;

constexpr const char *storageLimitKey = "storageLimit";
constexpr const char *userExclusionsKey = "userExclusions";
constexpr const char *nameRuleOverridesKey = "nameRuleOverrides";
constexpr const char *keptSourcesKey = "keptSources";
constexpr const char *hiddenSourcesKey = "hiddenSources";

QStringList idsOf(const QList<ExcludedApp> &apps)
{
    QStringList ids;
    for (const ExcludedApp &app : apps)
        ids.append(app.bundleID);
    return ids;
}

bool containsID(const QList<ExcludedApp> &apps, const QString &bundleID)
{
    return std::any_of(apps.begin(), apps.end(), [&](const ExcludedApp &app) { return app.bundleID == bundleID; });
}

QList<ExcludedApp> withoutID(QList<ExcludedApp> apps, const QString &bundleID)
{
    apps.removeIf([&](const ExcludedApp &app) { return app.bundleID == bundleID; });
    return apps;
}

} // namespace

const QList<std::int64_t> &AppSettings::storageLimitPresets()
{
    static const QList<std::int64_t> presets{250'000'000, 500'000'000, 1'000'000'000, 2'000'000'000, 5'000'000'000};
    return presets;
}

AppSettings::AppSettings(QSettings *settings, LoginItem *loginItem, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_loginItem(loginItem)
{
    load();
}

AppSettings::~AppSettings()
{
    if (sharedInstance == this)
        sharedInstance = nullptr;
}

AppSettings *AppSettings::shared() { return sharedInstance; }

void AppSettings::setShared(AppSettings *settings) { sharedInstance = settings; }

AppSettings *AppSettings::create(QQmlEngine *, QJSEngine *)
{
    AppSettings *settings = shared();
    if (settings)
        QQmlEngine::setObjectOwnership(settings, QQmlEngine::CppOwnership);
    return settings;
}

void AppSettings::load()
{
    bool ok = false;
    const QVariant storedLimit = m_settings->value(storageLimitKey);
    const std::int64_t limit = storedLimit.toLongLong(&ok);
    if (ok && storageLimitPresets().contains(limit)) {
        m_storageLimit = limit;
    } else {
        // A missing or damaged value must never become a tiny limit that empties the history.
        m_storageLimit = defaultStorageLimit;
        if (storedLimit.isValid())
            qCWarning(logSettings).noquote()
                << "Corvane: stored storageLimit" << storedLimit.toString() << "is not a preset; using" << defaultStorageLimit;
    }
    m_recordImages = readBool("recordImages", true);
    m_finderImagesAsImages = readBool("finderImagesAsImages", false);
    m_photoGridEnabled = readBool("photoGridEnabled", true);
    m_autoShowPreview = readBool("autoShowPreview", true);
    m_animateMenuBarIcon = readBool("animateMenuBarIcon", true);
    m_internetPreviewsEnabled = readBool("internetPreviewsEnabled", true);
    m_intelligenceEnabled = readBool("intelligenceEnabled", false);
    m_showSummariesInList = readBool("showSummariesInList", false);
    m_userExclusions = readAppList(userExclusionsKey, QStringLiteral("excluded apps"));
    m_nameRuleOverrides = readAppList(nameRuleOverridesKey, QStringLiteral("apps allowed despite their name"));
    m_keptSources = m_settings->value(keptSourcesKey).toStringList();
    m_hiddenSources = m_settings->value(hiddenSourcesKey).toStringList();
    m_didShowWelcomeTour = readBool("didShowWelcomeTour.v2", false);
    m_didEnableLaunchAtLogin = readBool("didEnableLaunchAtLogin", false);
}

void AppSettings::reportProblem(const QString &problem)
{
    qCWarning(logSettings).noquote() << "Corvane:" << problem;
    m_problems.append(problem);
    emit problemsChanged();
}

bool AppSettings::readBool(const char *key, bool fallback) const
{
    const QVariant value = m_settings->value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == u"true" || text == u"1")
        return true;
    if (text == u"false" || text == u"0")
        return false;
    return fallback;
}

QList<ExcludedApp> AppSettings::readAppList(const char *key, const QString &what)
{
    const QVariant stored = m_settings->value(key);
    if (!stored.isValid())
        return {};
    // A list (a hand edit without quotes reads back split at its commas) is no JSON text: report it.
    const bool isText = stored.typeId() == QMetaType::QString;
    const QString text = isText ? stored.toString() : stored.toStringList().join(u',');
    const ExcludedApps::Decoded decoded = ExcludedApps::fromJson(text);
    if (!decoded.valid || !isText) {
        // Keep the stored text as it is: rewriting it now would erase what could not be read.
        const QString problem = QStringLiteral("The stored list of %1 (%2) is damaged; %3 entries could be read. "
                                               "It is left unchanged until the list is edited.")
                                    .arg(what, QString::fromLatin1(key))
                                    .arg(decoded.apps.size());
        qCWarning(logSettings).noquote() << "Corvane:" << problem;
        m_problems.append(problem);
    }
    return decoded.apps;
}

void AppSettings::write(const char *key, const QVariant &value)
{
    m_settings->setValue(key, value);
    m_settings->sync();
}

void AppSettings::setBool(bool &member, const char *key, bool value, void (AppSettings::*changed)())
{
    if (member == value)
        return;
    member = value;
    write(key, value);
    emit(this->*changed)();
}

void AppSettings::setAppList(QList<ExcludedApp> &member, const char *key, const QList<ExcludedApp> &apps,
                             void (AppSettings::*changed)())
{
    if (member == apps)
        return;
    member = apps;
    write(key, ExcludedApps::toJson(apps));
    emit(this->*changed)();
    const QString keyText = QString::fromLatin1(key);
    if (m_problems.removeIf([&](const QString &problem) { return problem.contains(keyText); }) > 0)
        emit problemsChanged();
}

void AppSettings::setStringList(QStringList &member, const char *key, const QStringList &keys, void (AppSettings::*changed)())
{
    if (member == keys)
        return;
    member = keys;
    write(key, keys);
    emit(this->*changed)();
}

void AppSettings::setStorageLimit(std::int64_t bytes)
{
    const auto &presets = storageLimitPresets();
    const std::int64_t nearest = *std::min_element(presets.begin(), presets.end(), [bytes](auto a, auto b) {
        return std::abs(double(a) - double(bytes)) < std::abs(double(b) - double(bytes));
    });
    if (nearest == m_storageLimit)
        return;
    m_storageLimit = nearest;
    write(storageLimitKey, qint64(nearest));
    emit storageLimitChanged();
}

QList<qint64> AppSettings::storageLimitPresetList() const { return {storageLimitPresets().begin(), storageLimitPresets().end()}; }

void AppSettings::setRecordImages(bool on) { setBool(m_recordImages, "recordImages", on, &AppSettings::recordImagesChanged); }
void AppSettings::setFinderImagesAsImages(bool on)
{
    setBool(m_finderImagesAsImages, "finderImagesAsImages", on, &AppSettings::finderImagesAsImagesChanged);
}
void AppSettings::setPhotoGridEnabled(bool on)
{
    setBool(m_photoGridEnabled, "photoGridEnabled", on, &AppSettings::photoGridEnabledChanged);
}
void AppSettings::setAutoShowPreview(bool on)
{
    setBool(m_autoShowPreview, "autoShowPreview", on, &AppSettings::autoShowPreviewChanged);
}
void AppSettings::setAnimateMenuBarIcon(bool on)
{
    setBool(m_animateMenuBarIcon, "animateMenuBarIcon", on, &AppSettings::animateMenuBarIconChanged);
}
void AppSettings::setInternetPreviewsEnabled(bool on)
{
    setBool(m_internetPreviewsEnabled, "internetPreviewsEnabled", on, &AppSettings::internetPreviewsEnabledChanged);
}
void AppSettings::setIntelligenceEnabled(bool on)
{
    setBool(m_intelligenceEnabled, "intelligenceEnabled", on, &AppSettings::intelligenceEnabledChanged);
}
void AppSettings::setShowSummariesInList(bool on)
{
    setBool(m_showSummariesInList, "showSummariesInList", on, &AppSettings::showSummariesInListChanged);
}
void AppSettings::setDidShowWelcomeTour(bool shown)
{
    setBool(m_didShowWelcomeTour, "didShowWelcomeTour.v2", shown, &AppSettings::didShowWelcomeTourChanged);
}
void AppSettings::setDidEnableLaunchAtLogin(bool done)
{
    setBool(m_didEnableLaunchAtLogin, "didEnableLaunchAtLogin", done, &AppSettings::didEnableLaunchAtLoginChanged);
}

bool AppSettings::demoFlag(const QString &key) const
{
    const QByteArray latin = key.toLatin1();
    return readBool(latin.constData(), false);
}

void AppSettings::setUserExclusions(const QList<ExcludedApp> &apps)
{
    setAppList(m_userExclusions, userExclusionsKey, apps, &AppSettings::userExclusionsChanged);
}

void AppSettings::setNameRuleOverrides(const QList<ExcludedApp> &apps)
{
    setAppList(m_nameRuleOverrides, nameRuleOverridesKey, apps, &AppSettings::nameRuleOverridesChanged);
}

QStringList AppSettings::userExclusionIDs() const { return idsOf(m_userExclusions); }
QStringList AppSettings::nameRuleOverrideIDs() const { return idsOf(m_nameRuleOverrides); }

void AppSettings::setKeptSources(const QStringList &keys)
{
    setStringList(m_keptSources, keptSourcesKey, keys, &AppSettings::keptSourcesChanged);
}

void AppSettings::setHiddenSources(const QStringList &keys)
{
    setStringList(m_hiddenSources, hiddenSourcesKey, keys, &AppSettings::hiddenSourcesChanged);
}

bool AppSettings::launchAtLogin() const { return m_loginItem && m_loginItem->isEnabled(); }

void AppSettings::setLaunchAtLogin(bool on)
{
    const std::optional<QString> failure
        = m_loginItem ? m_loginItem->setEnabled(on) : std::optional(QStringLiteral("no login-item service"));
    if (failure)
        qCWarning(logSettings).noquote() << "Corvane: launch at login change failed:" << *failure;
    // Always: after a failure the switch must read the real state again.
    emit launchAtLoginChanged();
}

void AppSettings::addExclusion(const QString &bundleID, const QString &name)
{
    if (PrivacyPolicy::isProtectedBundleID(bundleID) || containsID(m_userExclusions, bundleID))
        return;
    setUserExclusions(m_userExclusions + QList<ExcludedApp>{{bundleID, name}});
}

void AppSettings::removeExclusion(const QString &bundleID) { setUserExclusions(withoutID(m_userExclusions, bundleID)); }

void AppSettings::addNameRuleOverride(const QString &bundleID, const QString &name)
{
    if (containsID(m_nameRuleOverrides, bundleID))
        return;
    setNameRuleOverrides(m_nameRuleOverrides + QList<ExcludedApp>{{bundleID, name}});
}

void AppSettings::removeNameRuleOverride(const QString &bundleID)
{
    setNameRuleOverrides(withoutID(m_nameRuleOverrides, bundleID));
}

} // namespace corvane

#pragma once

#include "ExcludedApp.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <cstdint>

class QSettings;
class QQmlEngine;
class QJSEngine;

namespace corvane {

class LoginItem;

/**
 * @brief The user's settings, persisted at once in QSettings under the property names.
 *
 * Values read from the file are checked: a storage limit that is not a preset becomes the
 * default preset, and a damaged exclusion list is kept as stored (and reported in `problems`)
 * until the user edits it.
 */
class AppSettings : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(qint64 storageLimit READ storageLimit WRITE setStorageLimit NOTIFY storageLimitChanged)
    Q_PROPERTY(QList<qint64> storageLimitPresets READ storageLimitPresetList CONSTANT)
    Q_PROPERTY(bool recordImages READ recordImages WRITE setRecordImages NOTIFY recordImagesChanged)
    Q_PROPERTY(
        bool finderImagesAsImages READ finderImagesAsImages WRITE setFinderImagesAsImages NOTIFY finderImagesAsImagesChanged)
    Q_PROPERTY(bool photoGridEnabled READ photoGridEnabled WRITE setPhotoGridEnabled NOTIFY photoGridEnabledChanged)
    Q_PROPERTY(bool autoShowPreview READ autoShowPreview WRITE setAutoShowPreview NOTIFY autoShowPreviewChanged)
    Q_PROPERTY(bool animateMenuBarIcon READ animateMenuBarIcon WRITE setAnimateMenuBarIcon NOTIFY animateMenuBarIconChanged)
    Q_PROPERTY(bool internetPreviewsEnabled READ internetPreviewsEnabled WRITE setInternetPreviewsEnabled NOTIFY
                   internetPreviewsEnabledChanged)
    Q_PROPERTY(bool intelligenceEnabled READ intelligenceEnabled WRITE setIntelligenceEnabled NOTIFY intelligenceEnabledChanged)
    Q_PROPERTY(bool showSummariesInList READ showSummariesInList WRITE setShowSummariesInList NOTIFY showSummariesInListChanged)
    Q_PROPERTY(
        QList<corvane::ExcludedApp> userExclusions READ userExclusions WRITE setUserExclusions NOTIFY userExclusionsChanged)
    Q_PROPERTY(QList<corvane::ExcludedApp> nameRuleOverrides READ nameRuleOverrides WRITE setNameRuleOverrides NOTIFY
                   nameRuleOverridesChanged)
    Q_PROPERTY(QStringList keptSources READ keptSources WRITE setKeptSources NOTIFY keptSourcesChanged)
    Q_PROPERTY(QStringList hiddenSources READ hiddenSources WRITE setHiddenSources NOTIFY hiddenSourcesChanged)
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(bool didShowWelcomeTour READ didShowWelcomeTour WRITE setDidShowWelcomeTour NOTIFY didShowWelcomeTourChanged)
    Q_PROPERTY(bool didEnableLaunchAtLogin READ didEnableLaunchAtLogin WRITE setDidEnableLaunchAtLogin NOTIFY
                   didEnableLaunchAtLoginChanged)
    Q_PROPERTY(QStringList problems READ problems NOTIFY problemsChanged)

public:
    static constexpr std::int64_t defaultStorageLimit = 1'000'000'000;
    static const QList<std::int64_t> &storageLimitPresets();

    /** Uses `settings` and `loginItem` (neither owned; a null login item reports "off"). */
    AppSettings(QSettings *settings, LoginItem *loginItem, QObject *parent = nullptr);
    ~AppSettings() override;

    /**
     * The process's settings, installed by the application with setShared(); null before.
     */
    static AppSettings *shared();
    static void setShared(AppSettings *settings);
    static AppSettings *create(QQmlEngine *, QJSEngine *);

    std::int64_t storageLimit() const { return m_storageLimit; }
    /** Stores the preset nearest to `bytes`. */
    void setStorageLimit(std::int64_t bytes);
    QList<qint64> storageLimitPresetList() const;

    bool recordImages() const { return m_recordImages; }
    void setRecordImages(bool on);
    bool finderImagesAsImages() const { return m_finderImagesAsImages; }
    void setFinderImagesAsImages(bool on);
    bool photoGridEnabled() const { return m_photoGridEnabled; }
    void setPhotoGridEnabled(bool on);
    bool autoShowPreview() const { return m_autoShowPreview; }
    void setAutoShowPreview(bool on);
    bool animateMenuBarIcon() const { return m_animateMenuBarIcon; }
    void setAnimateMenuBarIcon(bool on);
    bool internetPreviewsEnabled() const { return m_internetPreviewsEnabled; }
    void setInternetPreviewsEnabled(bool on);
    bool intelligenceEnabled() const { return m_intelligenceEnabled; }
    void setIntelligenceEnabled(bool on);
    bool showSummariesInList() const { return m_showSummariesInList; }
    void setShowSummariesInList(bool on);

    QList<ExcludedApp> userExclusions() const { return m_userExclusions; }
    void setUserExclusions(const QList<ExcludedApp> &apps);
    QList<ExcludedApp> nameRuleOverrides() const { return m_nameRuleOverrides; }
    void setNameRuleOverrides(const QList<ExcludedApp> &apps);
    /** The bundle ids of the lists, as the privacy verdict takes them. */
    QStringList userExclusionIDs() const;
    QStringList nameRuleOverrideIDs() const;

    QStringList keptSources() const { return m_keptSources; }
    void setKeptSources(const QStringList &keys);
    QStringList hiddenSources() const { return m_hiddenSources; }
    void setHiddenSources(const QStringList &keys);

    /** The login-item service's real state, read afresh. */
    bool launchAtLogin() const;
    /** Registers or unregisters; a failure is logged, and the change signal fires either way. */
    void setLaunchAtLogin(bool on);

    bool didShowWelcomeTour() const { return m_didShowWelcomeTour; }
    void setDidShowWelcomeTour(bool shown);
    bool didEnableLaunchAtLogin() const { return m_didEnableLaunchAtLogin; }
    void setDidEnableLaunchAtLogin(bool done);
    /** A one-shot demonstration flag read at launch ("CVDemoSelectFirst"). */
    Q_INVOKABLE bool demoFlag(const QString &key) const;

    /** Problems found in the stored settings, for the diagnostics report. */
    QStringList problems() const { return m_problems; }
    /** Adds a problem found outside the stored values (an unreadable settings file). */
    void reportProblem(const QString &problem);

    /** Does nothing for a protected password manager or an id already excluded. */
    Q_INVOKABLE void addExclusion(const QString &bundleID, const QString &name);
    Q_INVOKABLE void removeExclusion(const QString &bundleID);
    Q_INVOKABLE void addNameRuleOverride(const QString &bundleID, const QString &name);
    Q_INVOKABLE void removeNameRuleOverride(const QString &bundleID);

signals:
    void storageLimitChanged();
    void recordImagesChanged();
    void finderImagesAsImagesChanged();
    void photoGridEnabledChanged();
    void autoShowPreviewChanged();
    void animateMenuBarIconChanged();
    void internetPreviewsEnabledChanged();
    void intelligenceEnabledChanged();
    void showSummariesInListChanged();
    void userExclusionsChanged();
    void nameRuleOverridesChanged();
    void keptSourcesChanged();
    void hiddenSourcesChanged();
    void launchAtLoginChanged();
    void didShowWelcomeTourChanged();
    void didEnableLaunchAtLoginChanged();
    void problemsChanged();

private:
    void load();
    bool readBool(const char *key, bool fallback) const;
    QList<ExcludedApp> readAppList(const char *key, const QString &what);
    void write(const char *key, const QVariant &value);
    void setBool(bool &member, const char *key, bool value, void (AppSettings::*changed)());
    void setAppList(QList<ExcludedApp> &member, const char *key, const QList<ExcludedApp> &apps, void (AppSettings::*changed)());
    void setStringList(QStringList &member, const char *key, const QStringList &keys, void (AppSettings::*changed)());

    QSettings *m_settings;
    LoginItem *m_loginItem;

    std::int64_t m_storageLimit = defaultStorageLimit;
    bool m_recordImages = true;
    bool m_finderImagesAsImages = false;
    bool m_photoGridEnabled = true;
    bool m_autoShowPreview = true;
    bool m_animateMenuBarIcon = true;
    bool m_internetPreviewsEnabled = true;
    bool m_intelligenceEnabled = false;
    bool m_showSummariesInList = false;
    QList<ExcludedApp> m_userExclusions;
    QList<ExcludedApp> m_nameRuleOverrides;
    QStringList m_keptSources;
    QStringList m_hiddenSources;
    bool m_didShowWelcomeTour = false;
    bool m_didEnableLaunchAtLogin = false;
    QStringList m_problems;
};

} // namespace corvane

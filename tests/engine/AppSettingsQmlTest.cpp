#include "AppSettings.h"
#include "TestApplication.h"
#include "fakes/FakeLoginItem.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>

#include <gtest/gtest.h>

Q_IMPORT_QML_PLUGIN(Corvane_EnginePlugin)

namespace corvane::test {
namespace {

TEST(AppSettingsQml, SingletonAndExclusionListAreReadableFromQml)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    QSettings file(dir.filePath(QStringLiteral("Corvane.conf")), QSettings::IniFormat);
    FakeLoginItem loginItem;
    AppSettings settings(&file, &loginItem);
    AppSettings::setShared(&settings);
    settings.addExclusion(QStringLiteral("firefox"), QStringLiteral("Firefox"));

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral(":/"));
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQml
        import Corvane.Engine
        QtObject {
            property string firstExcluded: AppSettings.userExclusions[0].bundleID
            property bool grid: AppSettings.photoGridEnabled
            Component.onCompleted: AppSettings.internetPreviewsEnabled = false
        })",
                      QUrl());
    std::unique_ptr<QObject> object(component.create());
    ASSERT_TRUE(object) << component.errorString().toStdString();
    EXPECT_EQ(object->property("firstExcluded").toString(), QStringLiteral("firefox"));
    EXPECT_TRUE(object->property("grid").toBool());
    EXPECT_FALSE(settings.internetPreviewsEnabled());
    AppSettings::setShared(nullptr);
}

} // namespace
} // namespace corvane::test

#include "StoreFixture.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Corvane_EnginePlugin)

namespace corvane::test {
namespace {

class QmlExposureTest : public StoreFixture
{ };

TEST_F(QmlExposureTest, DelegatesReadTheRolesAndCallTheStoreWithIds)
{
    const std::int64_t first = addText(QStringLiteral("first <b>clip</b>"), 20);
    addText(QStringLiteral("second"), 10);

    QQmlEngine engine;
    engine.addImportPath(QStringLiteral(":/"));
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQml
        import QtQml.Models
        import Corvane.Engine
        QtObject {
            id: root
            required property ClipboardStore store
            property var titles: []
            property Instantiator rows: Instantiator {
                model: ClipListModel { store: root.store; sectioned: true }
                delegate: QtObject {
                    required property var clipId
                    required property string title
                    required property string sectionTitle
                    required property bool isSelected
                    Component.onCompleted: root.titles.push(sectionTitle + ": " + title)
                }
            }
            function pick(id) { store.select(id, false, false); store.togglePin(id) }
        })",
                      QUrl());
    std::unique_ptr<QObject> root(
        component.createWithInitialProperties({{QStringLiteral("store"), QVariant::fromValue(store.get())}}));
    ASSERT_TRUE(root) << component.errorString().toStdString();
    EXPECT_EQ(root->property("titles").toStringList(),
              (QStringList{QStringLiteral("Today: second"), QStringLiteral("Today: first <b>clip</b>")}));

    QMetaObject::invokeMethod(root.get(), "pick", Q_ARG(QVariant, QVariant::fromValue(qint64(first))));
    EXPECT_EQ(store->selectedID(), first);
    EXPECT_TRUE(store->clip(first)->isPinned);
}

} // namespace
} // namespace corvane::test

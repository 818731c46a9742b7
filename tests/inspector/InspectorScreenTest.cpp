// The inspector's pieces drawn for real under Xvfb: a person looks at the screenshots; keys and
// clicks go through the window like a user's.
#include "AccessibilityAudit.h"
#include "ClipboardStore.h"
#include "InspectorFixture.h"
#include "NoteEditorController.h"
#include "UiSetup.h"

#include "QuickItems.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

using namespace corvane;
using corvane::test::findItem;

namespace {

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage sunsetPicture()
{
    QImage image(640, 360, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, 360);
    sky.setColorAt(0, QColor("#ff9a62"));
    sky.setColorAt(1, QColor("#6a4cff"));
    p.fillRect(image.rect(), sky);
    p.setBrush(QColor("#ffd166"));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(320, 250), 90, 90);
    p.fillRect(0, 280, 640, 80, QColor("#2b2d42"));
    return image;
}

class InspectorScreen : public test::InspectorFixture
{
protected:
    void SetUp() override
    {
        InspectorFixture::SetUp();
        ids["text"] = qint64(add(ClipGroup::text,
                                 "Team dinner March 14 at 7pm at 221B Baker Street, London NW1 6XE.\n"
                                 "Call (415) 555-2671 if late; menu at https://example.com/menu. Flying in on BA 283.",
                                 60));
        ids["color"] = qint64(add(ClipGroup::color, "#FF5E3A", 50));
        ids["code"] = qint64(add(ClipGroup::code,
                                 "for (const Clip &clip : clips) {\n"
                                 "    if (clip.isPinned)\n"
                                 "        pinned.append(clip.id);\n"
                                 "}\n"
                                 "return pinned;\n"
                                 "// <img src=\"https://tracker.example/p.gif\"> stays text",
                                 45));
        ids["email"] = qint64(add(ClipGroup::email, "ada@example.com", 40));
        ids["file"] = qint64(add(ClipGroup::file, QDir::homePath() + "/Documents/report.pdf\n/etc/hosts", 30));
        ids["secret"] = qint64(add(ClipGroup::secret, "sk_live_51Hh2kS9xQwErTy", 20));
        ids["link"] = qint64(add(ClipGroup::link, "https://corvane.app/docs/inspector?tab=details", 10));
        ClipDatabase::NewClip image;
        image.group = ClipGroup::image;
        const QImage picture = sunsetPicture();
        image.image = png(picture);
        image.thumbnail = png(picture.scaled(120, 68));
        image.imageSize = picture.size();
        image.byteSize = image.image.size();
        image.createdAt = clock.now().toMSecsSinceEpoch() / 1000.0 - 5;
        image.hash = QStringLiteral("image\nsunset");
        ids["image"] = qint64(store->database()->insert(image).id);
        store->database()->setNote(ids["secret"].toLongLong(), QStringLiteral("Payments API key"));
        store->reload();

        engineHolder = std::make_unique<QQmlEngine>();
        windowHolder = std::make_unique<QQuickWindow>();
        QQmlEngine &engine = *engineHolder;
        QQuickWindow &window = *windowHolder;
        installUi(engine, store.get());
        QQmlComponent component(&engine, QUrl::fromLocalFile(QStringLiteral(CORVANE_GALLERY_QML)));
        root = qobject_cast<QQuickItem *>(
            component.createWithInitialProperties({{"store", QVariant::fromValue(store.get())}, {"ids", ids}}));
        ASSERT_TRUE(root) << qPrintable(component.errorString());
        window.resize(int(root->implicitWidth()), int(root->implicitHeight()));
        root->setParentItem(window.contentItem());
        root->setSize(window.size());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void TearDown() override
    {
        delete root;
        InspectorFixture::TearDown();
    }

    void shoot(const QString &name)
    {
        QTest::qWait(900); // entrances, scans and images
        const QImage shot = windowHolder->grabWindow();
        QDir().mkpath(QStringLiteral(CORVANE_ARTIFACTS_DIR));
        EXPECT_TRUE(shot.save(QStringLiteral(CORVANE_ARTIFACTS_DIR "/") + name));
    }

    void click(QQuickItem *item)
    {
        ASSERT_TRUE(item);
        QTest::mouseClick(windowHolder.get(), Qt::LeftButton, {},
                          item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint());
    }

    QVariantMap ids;
    std::unique_ptr<QQmlEngine> engineHolder;
    std::unique_ptr<QQuickWindow> windowHolder;
    QQuickItem *root = nullptr;
};

TEST_F(InspectorScreen, EveryPieceDrawnAndTheNoteTakesFocusAndReturn)
{
    QQuickWindow &window = *windowHolder;
    QQuickItem *details = findItem(root, "details");
    ASSERT_TRUE(details);
    QTRY_VERIFY_WITH_TIMEOUT(details->isVisible() && details->height() > 100, 5000);
    shoot(QStringLiteral("inspector-gallery.png"));
    const QStringList unreadable = test::auditAccessibility(&window, {"sk_live_51Hh2kS9xQwErTy"});
    EXPECT_TRUE(unreadable.isEmpty()) << unreadable.join('\n').toStdString();

    // The search field has the focus; clicking the note moves it to the note's editor.
    QQuickItem *search = findItem(root, "search");
    click(search);
    QTRY_VERIFY(search->hasActiveFocus());
    click(findItem(findItem(root, "emptyNote"), "note-box"));
    QQuickItem *editor = findItem(findItem(root, "emptyNote"), "note-editor");
    ASSERT_TRUE(editor);
    QTRY_VERIFY(editor->hasActiveFocus());
    EXPECT_FALSE(search->hasActiveFocus());
    for (const char c : QByteArray("Dinner plan"))
        QTest::keyClick(&window, c);
    shoot(QStringLiteral("inspector-note-editing.png"));

    // Return saves the note at once and stays inside the field.
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(root->property("returnPresses").toInt(), 0);
    EXPECT_EQ(store->clip(ids["text"].toLongLong())->note, QStringLiteral("Dinner plan"));

    // Reveal the secret: with a note, the note is what shows.
    click(findItem(findItem(root, "secretPreview"), "revealButton"));
    EXPECT_TRUE(store->isRevealed(ids["secret"].toLongLong()));

    // Share opens its menu under the button.
    QQuickItem *share = findItem(root, "share");
    click(share);
    auto *menu = share->property("menu").value<QObject *>();
    ASSERT_TRUE(menu);
    QTRY_VERIFY(menu->property("opened").toBool());
    shoot(QStringLiteral("inspector-revealed-share.png"));
    QTest::keyClick(&window, Qt::Key_Escape);

    // A detail's action opens its address.
    auto *model = details->property("model").value<QObject *>();
    ASSERT_TRUE(model);
    QMetaObject::invokeMethod(model, "perform", Q_ARG(int, 0));
    EXPECT_TRUE(desktop.openedFiles().isEmpty() || desktop.openedFiles().first().endsWith("Corvane Event.ics"));
}

// The pane with each kind of clip selected, as the main window hosts it.
TEST_F(InspectorScreen, PaneShowsEachKindOfClip)
{
    QQmlComponent component(engineHolder.get());
    component.setData("import QtQuick\nimport Corvane.Engine\nimport Corvane.Design\nimport Corvane.Inspector\n"
                      "Item { id: host; required property ClipboardStore store; property alias pane: pane\n"
                      "WindowSunset { anchors.fill: parent }\n"
                      "InspectorView { id: pane; store: host.store; anchors.fill: parent; anchors.margins: 12 } }",
                      QUrl(QStringLiteral("qrc:/pane.qml")));
    std::unique_ptr<QQuickItem> host(
        qobject_cast<QQuickItem *>(component.createWithInitialProperties({{"store", QVariant::fromValue(store.get())}})));
    ASSERT_TRUE(host) << qPrintable(component.errorString());
    delete root;
    root = nullptr;
    QQuickWindow &window = *windowHolder;
    window.resize(354, 980);
    host->setParentItem(window.contentItem());
    host->setSize(window.size());
    auto *pane = host->property("pane").value<QQuickItem *>();
    ASSERT_TRUE(pane);

    EXPECT_TRUE(findItem(pane, "inspectorScroll") && !findItem(pane, "inspectorScroll")->isVisible());
    shoot(QStringLiteral("inspector-pane-empty.png"));
    for (const char *kind : {"text", "link", "image", "secret", "file", "color", "code", "email"}) {
        store->select(ids[QString::fromLatin1(kind)].toLongLong());
        QTRY_COMPARE(findItem(pane, "kindTitle")->property("text").toString().isEmpty(), false);
        shoot(QStringLiteral("inspector-pane-%1.png").arg(QLatin1String(kind)));
    }

    // Copy to Clipboard writes the clip and shows "Copied"; Pin turns to Unpin.
    store->select(ids["text"].toLongLong());
    QQuickItem *copy = findItem(pane, "copyButton");
    QTRY_VERIFY(copy->isVisible() && copy->height() > 0);
    click(copy);
    EXPECT_EQ(clipboardText(), store->fullTextOf(ids["text"].toLongLong()));
    QTRY_COMPARE(copy->property("text").toString(), QStringLiteral("Copied"));
    shoot(QStringLiteral("inspector-pane-copied.png"));
    click(findItem(pane, "pinButton"));
    EXPECT_TRUE(store->clip(ids["text"].toLongLong())->isPinned);
    QTRY_COMPARE(findItem(pane, "pinButton")->property("text").toString(), QStringLiteral("Unpin"));
}

} // namespace

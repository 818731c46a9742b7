#include "DesktopAccess.h"
#include "DetailActions.h"
#include "DetailActionsModel.h"
#include "FakeDesktopServices.h"
#include "StoreFixture.h"

#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace corvane;
using Kind = DetectedDetail::Kind;

namespace {

DetectedDetail detail(Kind kind)
{
    DetectedDetail d;
    d.kind = kind;
    return d;
}

TEST(ActionURL, EveryKindEncodedForItsPlace)
{
    ServiceHosts hosts;
    hosts.flightTracking = {QStringLiteral("http"), QStringLiteral("127.0.0.1"), 8080};
    hosts.webMaps = {QStringLiteral("https"), QStringLiteral("maps.test")};

    DetectedDetail phone = detail(Kind::phone);
    phone.phone = QStringLiteral("+1 (555) 123-4567");
    phone.extension = QStringLiteral("89");
    EXPECT_EQ(actionURL(phone, hosts).toString(), "tel:+15551234567;ext=89");
    // Digits of other scripts become ASCII; superscripts and fractions are dropped.
    phone.phone = QString::fromUtf8("+٤٤ ٢٠ 7946²½ 0958");
    phone.extension.clear();
    EXPECT_EQ(actionURL(phone, hosts).toString(), "tel:+442079460958");

    DetectedDetail address = detail(Kind::address);
    address.address = QStringLiteral("Smith & Sons, 5 Main St #2, A=B+C");
    EXPECT_EQ(actionURL(address, hosts).toEncoded(),
              "https://maps.test/search?query=Smith%20%26%20Sons%2C%205%20Main%20St%20%232%2C%20A%3DB%2BC");
    EXPECT_EQ(actionURL(address, hosts, true).toEncoded(),
              "geo:0,0?q=Smith%20%26%20Sons%2C%205%20Main%20St%20%232%2C%20A%3DB%2BC");

    DetectedDetail flight = detail(Kind::flight);
    flight.airline = QStringLiteral("UA");
    flight.flightNumber = QStringLiteral("123");
    EXPECT_EQ(actionURL(flight, hosts).toEncoded(), "http://127.0.0.1:8080/live/flight/UA%20123");
    flight.airline = QStringLiteral("A/B?");
    EXPECT_EQ(actionURL(flight, hosts).toEncoded(), "http://127.0.0.1:8080/live/flight/A%2FB%3F%20123");

    DetectedDetail link = detail(Kind::link);
    link.url = QUrl(QStringLiteral("https://example.com/a?b=c#d"));
    EXPECT_EQ(actionURL(link, hosts), link.url);
}

class ICS : public ::testing::Test
{
protected:
    const QDateTime start{QDate(2026, 3, 14), QTime(15, 0), QTimeZone::utc()};
    const QDateTime now{QDate(2026, 3, 2), QTime(10, 0, 5), QTimeZone::utc()};
    const QUuid uid{QStringLiteral("{5c6a1f0e-3b7d-4c1a-9e2f-0123456789ab}")};
};

TEST_F(ICS, GoldenBytes)
{
    DetectedDetail date = detail(Kind::date);
    EXPECT_EQ(eventDuration(date), 3600);
    date.duration = 5400;
    EXPECT_EQ(eventDuration(date), 5400);
    EXPECT_EQ(buildICS(QStringLiteral("Event from Corvane"), start, 3600, now, uid),
              QByteArray("BEGIN:VCALENDAR\r\n"
                         "VERSION:2.0\r\n"
                         "PRODID:-//Corvane//EN\r\n"
                         "BEGIN:VEVENT\r\n"
                         "UID:5C6A1F0E-3B7D-4C1A-9E2F-0123456789AB\r\n"
                         "DTSTAMP:20260302T100005Z\r\n"
                         "DTSTART:20260314T150000Z\r\n"
                         "DTEND:20260314T160000Z\r\n"
                         "SUMMARY:Event from Corvane\r\n"
                         "END:VEVENT\r\n"
                         "END:VCALENDAR\r\n"));
}

TEST_F(ICS, TextIsEscapedAndLongLinesFolded)
{
    const QByteArray ics = buildICS(QStringLiteral("a,b;c\\d\nBEGIN:VALARM\r\nend"), start, 60, now, uid);
    EXPECT_TRUE(ics.contains("SUMMARY:a\\,b\\;c\\\\d\\nBEGIN:VALARM\\nend\r\n"));
    EXPECT_FALSE(ics.contains("\r\nBEGIN:VALARM"));

    const QString longTitle = QString(40, u'x') + QString::fromUtf8("ééééééééééééééééééééééééééééé");
    const QByteArray folded = buildICS(longTitle, start, 60, now, uid);
    for (const QByteArray &line : folded.split('\n')) {
        EXPECT_LE(line.size(), 76); // 75 octets and the CR
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << "a character was split";
    }
    // Unfolding gives the escaped title back.
    QByteArray unfolded = folded;
    unfolded.replace("\r\n ", "");
    EXPECT_TRUE(unfolded.contains("SUMMARY:" + longTitle.toUtf8() + "\r\n"));
}

TEST_F(ICS, TimesIgnoreTheUsersCalendarAndZone)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QStringLiteral("th_TH")));
    const QDateTime berlin(QDate(2026, 3, 14), QTime(16, 0), QTimeZone("Europe/Berlin"));
    const QByteArray ics = buildICS(QStringLiteral("x"), berlin, 3600, now, uid);
    QLocale::setDefault(previous);
    EXPECT_TRUE(ics.contains("DTSTART:20260314T150000Z\r\n"));
}

class DetailActionsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::ensureGuiApplication();
        setInspectorDesktop(&desktop);
    }
    void TearDown() override { setInspectorDesktop(nullptr); }
    FakeDesktopServices desktop;
};

TEST_F(DetailActionsFixture, CalendarFileIsPrivateAndOpened)
{
    QTemporaryDir dir;
    desktop.setPrivateTempDir(dir.path());
    DetectedDetail date = detail(Kind::date);
    date.date = QDateTime(QDate(2026, 3, 14), QTime(15, 0), QTimeZone::utc());
    performDetail(date);
    const QString path = dir.filePath(QStringLiteral("Corvane Event.ics"));
    ASSERT_EQ(desktop.openedFiles(), QStringList{path});
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_FALSE(QFileInfo(path).permissions() & others);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("DTEND:20260314T160000Z\r\n"));

    // Without a private folder nothing is written to a shared place.
    desktop.setPrivateTempDir(std::nullopt);
    performDetail(date);
    EXPECT_EQ(desktop.openedFiles().size(), 1);
}

TEST_F(DetailActionsFixture, AStaleScanNeverReplacesANewerOne)
{
    DetailActionsModel model;
    QSemaphore slowMayFinish;
    model.setScanner([&](const QString &text) {
        if (text == QLatin1String("slow"))
            slowMayFinish.acquire();
        DetectedDetail d = detail(Kind::link);
        d.label = text;
        d.url = QUrl(QStringLiteral("https://example.com/") + text);
        d.id = QUuid::createUuid();
        return QList<DetectedDetail>{d};
    });
    QSignalSpy applied(&model, &DetailActionsModel::scanApplied);
    model.setText(QStringLiteral("slow"));
    model.setText(QStringLiteral("fast"));
    // A quick scan may be applied before the wait starts.
    ASSERT_TRUE(applied.count() == 1 || applied.wait(5000));
    EXPECT_EQ(model.data(model.index(0), DetailActionsModel::LabelRole).toString(), "fast");
    const QString firstId = model.data(model.index(0), DetailActionsModel::DetailIdRole).toString();

    slowMayFinish.release();
    EXPECT_FALSE(applied.wait(300));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.data(model.index(0), DetailActionsModel::LabelRole).toString(), "fast");

    // A new scan of another text replaces the rows with new ids.
    model.setText(QStringLiteral("again"));
    ASSERT_TRUE(applied.count() == 2 || applied.wait(5000));
    EXPECT_NE(model.data(model.index(0), DetailActionsModel::DetailIdRole).toString(), firstId);
    model.perform(0);
    EXPECT_EQ(desktop.openedUrls().size(), 1);
}

} // namespace

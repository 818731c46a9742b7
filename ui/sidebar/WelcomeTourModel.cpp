#include "WelcomeTourModel.h"

#include "KeyLegend.h"

namespace corvane {

WelcomeTourModel::WelcomeTourModel(QObject *parent)
    : QObject(parent)
{
}

const std::vector<WelcomeTourModel::Step> &WelcomeTourModel::steps()
{
    using namespace KeyLegend;
    static const QString showKeys = text(showWindow());
    static const QString nextKeys = text(nextPasteItem());
    static const std::vector<Step> table{
        {"command", "Open it anywhere",
         QStringLiteral("Press %1 in any app to bring up your history. The menu bar icon works too.").arg(showKeys), showKeys},
        {"square.grid.2x2",
         "Sorted for you",
         "Links, images, code, colours, files and apps land in their own groups. Pick a tab or a day in the "
         "sidebar.",
         {}},
        {"magnifyingglass",
         "Find anything",
         "Type to search, typos and all. Try \u201ctype:image\u201d, \u201capp:Firefox\u201d or \u201cyesterday\u201d.",
         {}},
        {"pin",
         "Pin and tag",
         QStringLiteral("Pin what you reuse (%1) and add colour tags (%2) so the important things never scroll away.")
             .arg(text(pin()), text(tag())),
         {}},
        {"square.stack.3d.up", "Corvane",
         QStringLiteral("Collect several clips (%1), then paste them one after another with %2 \u2014 or copy "
                        "them all at once.")
             .arg(text(collect()), nextKeys),
         nextKeys},
        {"square.and.arrow.up",
         "Share, QR and actions",
         "Share any clip by email, show a QR code for links, and add dates to your calendar in one click.",
         {}},
    };
    return table;
}

QString WelcomeTourModel::primaryTitle() const
{
    if (m_page == 0)
        return QStringLiteral("Take the Tour");
    return isLastPage() ? QStringLiteral("Start Using Corvane") : QStringLiteral("Next");
}

QVariantMap WelcomeTourModel::stepValue() const
{
    if (m_page < 1 || m_page > stepCount())
        return {};
    const Step &step = steps()[std::size_t(m_page - 1)];
    return {{QStringLiteral("symbol"), step.symbol},
            {QStringLiteral("title"), step.title},
            {QStringLiteral("text"), step.text},
            {QStringLiteral("keys"), step.keys}};
}

QString WelcomeTourModel::introText() const
{
    return QStringLiteral("Everything you copy is saved on this computer, sorted by type, and back in your hands "
                          "with %1.")
        .arg(KeyLegend::text(KeyLegend::showWindow()));
}

QVariantList WelcomeTourModel::privacyRows() const
{
    auto row = [](const char *symbol, const QString &text) {
        return QVariantMap{{QStringLiteral("symbol"), QString::fromLatin1(symbol)}, {QStringLiteral("text"), text}};
    };
    return {
        row("lock.shield",
            QStringLiteral("Password managers are skipped automatically: 1Password, Bitwarden, "
                           "KeePassXC, Passwords and Keys and more.")),
        row("eye.slash", QStringLiteral("API keys and tokens stay masked until you click to reveal them.")),
        row("internaldrive",
            QStringLiteral("Your history stays on this computer. Internet is used only for link "
                           "previews, and you can turn that off.")),
        row("exclamationmark.triangle",
            QStringLiteral("Corvane can\u2019t recognise passwords copied from ordinary pages or unknown apps. "
                           "Exclude those apps in Settings \u2192 Privacy, or delete the item.")),
    };
}

void WelcomeTourModel::primary()
{
    if (isLastPage())
        emit dismissRequested();
    else
        setPage(m_page + 1);
}

void WelcomeTourModel::back()
{
    if (m_page > 0)
        setPage(m_page - 1);
}

void WelcomeTourModel::skip()
{
    if (showSkip())
        emit dismissRequested();
}

void WelcomeTourModel::restart() { setPage(0); }

void WelcomeTourModel::setPage(int page)
{
    if (page == m_page)
        return;
    m_page = page;
    emit pageChanged();
}

} // namespace corvane

#include "Greeting.h"

#include "DesktopServices.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <array>

namespace corvane::Greeting {
namespace {

qsizetype graphemeCount(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

qsizetype firstGraphemeEnd(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = finder.toNextBoundary();
    return end < 0 ? text.size() : end;
}

QString trimDotsAndCommas(const QString &piece)
{
    qsizetype from = 0;
    qsizetype to = piece.size();
    auto trimmable = [](QChar c) { return c == u'.' || c == u','; };
    while (from < to && trimmable(piece.at(from)))
        ++from;
    while (to > from && trimmable(piece.at(to - 1)))
        --to;
    return piece.mid(from, to - from);
}

bool isHonorific(const QString &piece)
{
    static const std::array<QString, 12> honorifics{"ca", "cs",  "dr",   "mr",  "mrs",  "ms",
                                                    "er", "adv", "prof", "sir", "shri", "smt"};
    const QString lower = piece.toLower();
    return std::find(honorifics.begin(), honorifics.end(), lower) != honorifics.end();
}

} // namespace

QString firstNameFromFullName(const QString &fullName)
{
    // Pieces empty after trimming go too: a full name of "," or "." would otherwise greet
    // nobody ("Hey , welcome").
    QStringList pieces;
    for (const QString &raw : fullName.split(u' ', Qt::SkipEmptyParts)) {
        const QString piece = trimDotsAndCommas(raw);
        if (!piece.isEmpty())
            pieces << piece;
    }
    if (pieces.isEmpty())
        return QStringLiteral("there");
    QString taken = pieces.first();
    for (const QString &piece : pieces) {
        if (isHonorific(piece))
            continue;
        // Short all-capital pieces are initials ("J", "JR"); length counts what a reader sees.
        if (graphemeCount(piece) > 3 || piece != piece.toUpper()) {
            taken = piece;
            break;
        }
    }
    const qsizetype head = firstGraphemeEnd(taken);
    return taken.left(head).toUpper() + taken.mid(head);
}

QString userFirstName(const DesktopServices &desktop) { return firstNameFromFullName(desktop.userFullName()); }

QString greetingForHour(int hour)
{
    if (hour >= 5 && hour <= 11)
        return QStringLiteral("Good morning");
    if (hour >= 12 && hour <= 16)
        return QStringLiteral("Good afternoon");
    if (hour >= 17 && hour <= 21)
        return QStringLiteral("Good evening");
    return QStringLiteral("Hello");
}

QString greeting(const QDateTime &when) { return greetingForHour(when.toLocalTime().time().hour()); }

QString greetingLine(const QDateTime &when, const QString &firstName)
{
    return QStringLiteral("%1, %2").arg(greeting(when), firstName);
}

QString welcomeLine(const QString &firstName) { return QStringLiteral("Hey %1, welcome").arg(firstName); }

QString countsLine(std::int64_t items, std::int64_t pinned)
{
    const QString itemWord = items == 1 ? QStringLiteral("item") : QStringLiteral("items");
    return QStringLiteral("%1 %2 · %3 pinned").arg(items).arg(itemWord).arg(pinned);
}

} // namespace corvane::Greeting

#include "DesktopEntryParser.h"

#include <QDir>
#include <QFileInfo>

namespace corvane::DesktopEntryParser {

KeyFile parseKeyFile(const QByteArray &data)
{
    KeyFile file;
    QHash<QString, QString> *group = nullptr;
    for (const QByteArray &rawLine : data.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            group = &file[QString::fromUtf8(line.mid(1, line.size() - 2))];
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!group || equals <= 0)
            continue;
        const QString key = QString::fromUtf8(line.left(equals).trimmed());
        group->insert(key, QString::fromUtf8(line.mid(equals + 1).trimmed()));
    }
    return file;
}

QString unescapeValue(const QString &value)
{
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            out.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            out.append(QLatin1Char(' '));
            break;
        case 'n':
            out.append(QLatin1Char('\n'));
            break;
        case 't':
            out.append(QLatin1Char('\t'));
            break;
        case 'r':
            out.append(QLatin1Char('\r'));
            break;
        case '\\':
            out.append(QLatin1Char('\\'));
            break;
        default:
            out.append(QLatin1Char('\\')).append(next);
            break;
        }
    }
    return out;
}

QString localizedValue(const QHash<QString, QString> &group, const QString &key, const QString &locale)
{
    // lang_COUNTRY.ENCODING@MODIFIER: the encoding plays no part in matching.
    const QString modifier = locale.section(QLatin1Char('@'), 1, 1);
    const QString withoutModifier = locale.section(QLatin1Char('@'), 0, 0).section(QLatin1Char('.'), 0, 0);
    const QString language = withoutModifier.section(QLatin1Char('_'), 0, 0);
    QStringList names;
    if (!modifier.isEmpty())
        names << withoutModifier + QLatin1Char('@') + modifier;
    names << withoutModifier;
    if (!modifier.isEmpty())
        names << language + QLatin1Char('@') + modifier;
    names << language;
    names.removeDuplicates();
    for (const QString &name : std::as_const(names)) {
        if (name.isEmpty())
            continue;
        if (auto found = group.constFind(key + QLatin1Char('[') + name + QLatin1Char(']'));
            found != group.cend() && !found->isEmpty())
            return unescapeValue(*found);
    }
    return unescapeValue(group.value(key));
}

namespace {

bool isTrue(const QString &value) { return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0; }

} // namespace

std::optional<DesktopEntry> parse(const QByteArray &data, const QString &id, const QString &locale)
{
    const KeyFile file = parseKeyFile(data);
    const auto group = file.constFind(QStringLiteral("Desktop Entry"));
    if (group == file.cend())
        return std::nullopt;
    if (group->value(QStringLiteral("Type")) != QLatin1String("Application") || isTrue(group->value(QStringLiteral("Hidden"))))
        return std::nullopt;
    DesktopEntry entry;
    entry.id = id;
    entry.name = localizedValue(*group, QStringLiteral("Name"), locale);
    entry.icon = unescapeValue(group->value(QStringLiteral("Icon")));
    entry.exec = group->value(QStringLiteral("Exec"));
    entry.startupWMClass = unescapeValue(group->value(QStringLiteral("StartupWMClass")));
    entry.noDisplay = isTrue(group->value(QStringLiteral("NoDisplay")));
    return entry;
}

QString idForPath(const QString &applicationsDir, const QString &filePath)
{
    QString relative = QDir(applicationsDir).relativeFilePath(filePath);
    if (relative.endsWith(QLatin1String(".desktop")))
        relative.chop(8);
    return relative.replace(QLatin1Char('/'), QLatin1Char('-'));
}

namespace {

/** Splits an Exec line into arguments, honouring double quotes and backslash escapes. */
QStringList execArguments(const QString &exec)
{
    const QString line = unescapeValue(exec);
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool hasArg = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('\\') && i + 1 < line.size())
                current.append(line.at(++i));
            else if (c == QLatin1Char('"'))
                inQuotes = false;
            else
                current.append(c);
        } else if (c == QLatin1Char('"')) {
            inQuotes = hasArg = true;
        } else if (c.isSpace()) {
            if (hasArg)
                args.append(current);
            current.clear();
            hasArg = false;
        } else {
            current.append(c);
            hasArg = true;
        }
    }
    if (hasArg)
        args.append(current);
    return args;
}

} // namespace

QString programName(const QString &exec)
{
    QStringList args = execArguments(exec);
    if (!args.isEmpty() && QFileInfo(args.first()).fileName() == QLatin1String("env")) {
        args.removeFirst();
        while (!args.isEmpty() && (args.first().contains(QLatin1Char('=')) || args.first().startsWith(QLatin1Char('-')))) {
            // "-u NAME" unsets a variable: its argument is no program either.
            const bool takesValue = args.first() == QLatin1String("-u") || args.first() == QLatin1String("--unset");
            args.removeFirst();
            if (takesValue && !args.isEmpty())
                args.removeFirst();
        }
    }
    if (args.isEmpty() || args.first().startsWith(QLatin1Char('%')))
        return {};
    return QFileInfo(args.first()).fileName();
}

QString quoteExecArgument(const QString &path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString escaped = path;
    escaped.replace(QLatin1Char('%'), QLatin1String("%%"));
    const bool needsQuotes = std::any_of(escaped.cbegin(), escaped.cend(), [](QChar c) { return reserved.contains(c); });
    if (!needsQuotes)
        return escaped;
    QString quoted;
    for (const QChar c : std::as_const(escaped)) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted.append(QLatin1Char('\\'));
        quoted.append(c);
    }
    // The key-file layer unescapes once more, so each backslash is written twice.
    quoted.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace corvane::DesktopEntryParser

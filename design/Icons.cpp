#include "Icons.h"

#include "IconTable.h"

#include <QUrlQuery>

namespace corvane {

QUrl Icons::url(const QString &name, const QColor &color)
{
    QUrl url;
    url.setScheme(QStringLiteral("image"));
    url.setHost(QStringLiteral("icon"));
    url.setPath(u'/' + name);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("color"), QString::fromLatin1(QUrl::toPercentEncoding(color.name(QColor::HexArgb))));
    url.setQuery(query);
    return url;
}

bool Icons::has(const QString &name) { return !IconTable::fileName(name).isEmpty(); }

} // namespace corvane

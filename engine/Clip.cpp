#include "Clip.h"

#include "ClipText.h"
#include "ClipTextSource.h"
#include "ColorParser.h"
#include "SecretMasker.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace corvane {
namespace {

constexpr qsizetype previewLength = 200;

/** True when simplified() would return the text unchanged. */
bool isSimplified(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isSpace() && (text[i] != u' ' || i == 0 || i + 1 == text.size() || text[i + 1].isSpace()))
            return false;
    }
    return true;
}

/** The first line holding anything but white space, with its white space collapsed. */
QString firstNonEmptyLine(const QString &text)
{
    // Most clips are one tidy line: share the text instead of copying it.
    if (!text.isEmpty() && isSimplified(text))
        return text;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        QString line = QStringView(text).sliced(start, end - start).toString().simplified();
        if (!line.isEmpty())
            return line;
        start = end + 1;
    }
    return {};
}

QString cut(QString text, qsizetype length)
{
    if (text.size() <= length)
        return text;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.left(length);
}

QStringList paths(const QString &text)
{
    QStringList result;
    for (const QString &line : text.split(u'\n')) {
        if (!line.trimmed().isEmpty())
            result.append(line);
    }
    return result;
}

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

QString sizeText(QSize size) { return QStringLiteral("%1 \u00D7 %2").arg(size.width()).arg(size.height()); }

QString characterCount(std::int64_t count)
{
    return count == 1 ? QStringLiteral("1 character") : QStringLiteral("%1 characters").arg(count);
}

QString expandTilde(const QString &path)
{
    if (path == u"~")
        return QDir::homePath();
    if (path.startsWith(u"~/"))
        return QDir::homePath() + path.mid(1);
    return path;
}

} // namespace

QImage Clip::thumbnail() const
{
    if (thumbnailPng.isEmpty())
        return {};
    return QImage::fromData(thumbnailPng, "PNG");
}

std::optional<QString> Clip::text() const
{
    if (!m_text.has)
        return std::nullopt;
    if (m_text.source == 0)
        return m_text.held;
    return ClipTextSource::shared().text(m_text.source, id);
}

void Clip::setText(std::optional<QString> text)
{
    m_text.has = text.has_value();
    m_text.held = m_text.has ? std::move(*text) : QString();
    m_text.source = 0;
}

void Clip::readTextFrom(std::uint32_t source)
{
    m_text.held = QString();
    m_text.source = source;
}

QList<ColorTag> Clip::tags() const { return ColorTags::fromMask(tagMask); }

QString Clip::preview() const { return storedPreview.isEmpty() ? clipPreview(group, text(), imageSize) : storedPreview; }

QString Clip::subtitle() const { return clipSubtitle(group, text(), textLength, detail, imageSize, byteSize); }

QString Clip::displayTitle(bool revealed, bool useSmartTitle) const
{
    if (group == ClipGroup::secret && !revealed && m_text.has)
        return SecretMasker::mask(text().value_or(QString()));
    if (note && !note->isEmpty())
        return *note;
    if (useSmartTitle && smartTitle && !smartTitle->isEmpty())
        return *smartTitle;
    return preview();
}

std::optional<QString> Clip::appBundlePath() const
{
    if (group != ClipGroup::file || !m_text.has)
        return std::nullopt;
    const std::optional<QString> text = this->text();
    if (!text || text->isEmpty() || text->contains(u'\n'))
        return std::nullopt;
    // A desktop entry is this platform's form of an application bundle.
    if (!text->endsWith(u".app") && !text->endsWith(u".app/") && !text->endsWith(u".desktop"))
        return std::nullopt;
    return expandTilde(*text);
}

SharedClipOrigin::SharedClipOrigin(ClipOrigin origin)
    : m_origin(std::make_shared<const ClipOrigin>(std::move(origin)))
{
}

const ClipOrigin &SharedClipOrigin::none()
{
    static const ClipOrigin nowhere;
    return nowhere;
}

namespace {

void changeOrigin(SharedClipOrigin &origin, std::optional<QString> ClipOrigin::*field, std::optional<QString> value)
{
    ClipOrigin changed = *origin;
    changed.*field = std::move(value);
    origin = SharedClipOrigin(std::move(changed));
}

} // namespace

void Clip::setSourceName(std::optional<QString> name) { changeOrigin(origin, &ClipOrigin::name, std::move(name)); }

void Clip::setSourceBundleID(std::optional<QString> bundleID)
{
    changeOrigin(origin, &ClipOrigin::bundleID, std::move(bundleID));
}

void Clip::setSourceURL(std::optional<QString> url) { changeOrigin(origin, &ClipOrigin::url, std::move(url)); }

std::optional<QString> Clip::sourceHost() const
{
    const std::optional<QString> &sourceURL = origin->url;
    if (!sourceURL || sourceURL->isEmpty())
        return std::nullopt;
    const QUrl url(*sourceURL);
    QString host = url.isValid() ? url.host() : QString();
    if (host.startsWith(u"www."))
        host.remove(0, 4);
    if (host.isEmpty())
        return std::nullopt;
    return host;
}

std::optional<QString> Clip::sourceKey() const
{
    if (const auto host = sourceHost())
        return QStringLiteral("web:") + *host;
    if (origin->bundleID && !origin->bundleID->isEmpty())
        return origin->bundleID;
    return std::nullopt;
}

QString Clip::sourceDisplayName() const
{
    if (const auto host = sourceHost())
        return *host;
    if (origin->name && !origin->name->isEmpty())
        return *origin->name;
    return QStringLiteral("Unknown");
}

QString Clip::swatchHex() const
{
    if (group == ClipGroup::color && m_text.has) {
        if (const auto rgba = ColorParser::parse(text().value_or(QString())))
            return rgba->hexString();
    }
    return QString();
}

QString clipPreview(ClipGroup group, const std::optional<QString> &text, QSize imageSize)
{
    if (group == ClipGroup::image)
        return QStringLiteral("Image ") + sizeText(imageSize);
    if (!text)
        return {};
    if (group == ClipGroup::file) {
        const QStringList list = paths(*text);
        if (list.size() == 1)
            return cut(QFileInfo(withoutTrailingSlash(list.first())).fileName(), previewLength);
        if (list.size() > 1)
            return QStringLiteral("%1 files").arg(list.size());
    }
    return cut(firstNonEmptyLine(*text), previewLength);
}

QString clipSubtitle(ClipGroup group, const std::optional<QString> &text, std::int64_t textLength,
                     const OptionalString &detail, QSize imageSize, std::int64_t byteSize)
{
    switch (group) {
    case ClipGroup::image:
        return sizeText(imageSize) + QStringLiteral(" \u00B7 ") + ClipText::byteCount(byteSize);
    case ClipGroup::link:
        if (text) {
            const QString host = QUrl(text->trimmed()).host();
            if (!host.isEmpty())
                return host;
        }
        break;
    case ClipGroup::code:
        if (detail && !detail->isEmpty())
            return *detail;
        break;
    case ClipGroup::color:
        if (text) {
            if (const auto color = ColorParser::parse(*text))
                return color->hexString();
        }
        break;
    case ClipGroup::file:
        if (text) {
            const QStringList list = paths(*text);
            if (!list.isEmpty()) {
                const QString folder = QFileInfo(withoutTrailingSlash(expandTilde(list.first()))).path();
                const QString home = QDir::homePath();
                if (folder == home || folder.startsWith(home + u'/'))
                    return u'~' + folder.mid(home.size());
                return folder;
            }
        }
        break;
    default:
        break;
    }
    return characterCount(textLength);
}

void forgetDerivablePreview(Clip &clip)
{
    if (!clip.storedPreview.isEmpty() && clip.storedPreview == clipPreview(clip.group, clip.text(), clip.imageSize))
        clip.storedPreview = QString();
}

} // namespace corvane

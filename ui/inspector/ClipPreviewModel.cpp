#include "ClipPreviewModel.h"

#include "ColorParser.h"
#include "ColorStrings.h"
#include "DesktopAccess.h"
#include "DesktopServices.h"
#include "PreviewRules.h"

#include <QClipboard>
#include <QDir>
#include <algorithm>
#include <QGuiApplication>

namespace corvane {

ClipPreviewModel::ClipPreviewModel(QObject *parent)
    : QObject(parent)
{
}

void ClipPreviewModel::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    disconnect(m_clipsConnection);
    disconnect(m_revealConnection);
    m_store = store;
    if (store) {
        m_clipsConnection = connect(store, &ClipboardStore::clipsChanged, this, &ClipPreviewModel::refresh);
        m_revealConnection = connect(store, &ClipboardStore::revealedSecretsChanged, this, &ClipPreviewModel::refresh);
    }
    emit storeChanged();
    refresh();
}

void ClipPreviewModel::setClipId(qint64 id)
{
    if (m_clipId == id)
        return;
    m_clipId = id;
    emit clipIdChanged();
    refresh();
}

void ClipPreviewModel::refresh()
{
    const ClipRef clip = m_store ? m_store->clip(m_clipId) : ClipRef();
    if (!clip) {
        m_kind = QStringLiteral("none");
        m_text.clear();
        emit changed();
        return;
    }
    // The loaded clip holds a prefix of long texts; the preview shows the whole (capped) text.
    std::optional<QString> text = clip->textIsTruncated ? m_store->fullText(clip->id) : std::nullopt;
    if (!text)
        text = clip->text();
    const PreviewKind kind = previewKind(clip->group, text);
    m_kind = previewKindName(kind);
    m_group = ClipGroups::rawValue(clip->group);
    m_text = text.value_or(QString()).left(displayLimit);

    const RGBA rgba = kind == PreviewKind::color ? ColorParser::parse(*text).value_or(RGBA()) : RGBA();
    m_color = QColor::fromRgbF(float(std::clamp(rgba.red, 0.0, 1.0)), float(std::clamp(rgba.green, 0.0, 1.0)),
                               float(std::clamp(rgba.blue, 0.0, 1.0)), float(std::clamp(rgba.alpha, 0.0, 1.0)));
    m_hex = rgba.hexString();
    m_rgb = rgbString(rgba);
    m_hsl = hslString(rgba);

    const LinkDisplay link = linkDisplay(m_text);
    m_host = link.host;
    m_path = link.path;
    m_browserUrl = kind == PreviewKind::link ? link.browserUrl : std::nullopt;

    m_revealed = m_store->revealedSecrets().contains(clip->id);
    m_secretText = clip->displayTitle(m_revealed, true);

    m_emailUrl = clip->group == ClipGroup::email && text ? composeEmailUrl(*text) : std::nullopt;
    m_filePath = clip->group == ClipGroup::file && text ? firstFilePath(*text, QDir::homePath()) : std::nullopt;

    const TextStyle style = textStyle(clip->group);
    m_style = {style.monospaced, style.pointSize, style.lineSpacing};
    const QString id = QString::number(clip->id);
    m_imageSource = kind == PreviewKind::image ? QUrl(QStringLiteral("image://clipimage/") + id) : QUrl();
    m_thumbnailSource = kind == PreviewKind::image && clip->hasThumbnail() ? QUrl(QStringLiteral("image://thumb/") + id) : QUrl();
    emit changed();
}

void ClipPreviewModel::openInBrowser()
{
    if (DesktopServices *desktop = inspectorDesktop(); desktop && m_browserUrl)
        desktop->openUrl(*m_browserUrl);
}

void ClipPreviewModel::composeEmail()
{
    if (DesktopServices *desktop = inspectorDesktop(); desktop && m_emailUrl)
        desktop->openUrl(*m_emailUrl);
}

void ClipPreviewModel::showInFiles()
{
    if (DesktopServices *desktop = inspectorDesktop(); desktop && m_filePath)
        desktop->showInFileManager({*m_filePath});
}

void ClipPreviewModel::toggleReveal()
{
    if (m_store)
        m_store->reveal(m_clipId);
}

void ClipPreviewModel::copyValue(const QString &value)
{
    if (auto *clipboard = QGuiApplication::clipboard())
        clipboard->setText(value);
}

} // namespace corvane

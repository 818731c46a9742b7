#include "DragMimeData.h"

#include <QFile>

namespace corvane {
namespace {

const QString pngType = QStringLiteral("image/png");
// KDE's hint for the name a dropped file should get.
const QString suggestedNameType = QStringLiteral("application/x-kde-suggestedfilename");

} // namespace

DragMimeData::DragMimeData(const DragPlan &plan)
{
    switch (plan.kind) {
    case DragPlan::Kind::Text:
        setText(plan.text);
        break;
    case DragPlan::Kind::Url:
        setUrls({plan.url});
        setText(plan.text);
        break;
    case DragPlan::Kind::File:
        setUrls({plan.url});
        break;
    case DragPlan::Kind::ImageFile:
        setUrls({plan.url});
        setData(suggestedNameType, plan.fileName.toUtf8());
        m_imagePath = plan.url.toLocalFile();
        break;
    case DragPlan::Kind::Image:
    case DragPlan::Kind::None:
        break;
    }
}

QStringList DragMimeData::formats() const
{
    QStringList list = QMimeData::formats();
    if (!m_imagePath.isEmpty())
        list << pngType;
    return list;
}

bool DragMimeData::hasFormat(const QString &mimeType) const
{
    return (!m_imagePath.isEmpty() && mimeType == pngType) || QMimeData::hasFormat(mimeType);
}

QVariant DragMimeData::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (mimeType == pngType && !m_imagePath.isEmpty()) {
        QFile file(m_imagePath);
        if (file.open(QIODevice::ReadOnly))
            return file.readAll();
        return {};
    }
    return QMimeData::retrieveData(mimeType, type);
}

} // namespace corvane

#pragma once

#include "DragPlan.h"

#include <QMimeData>

namespace corvane {

/**
 * @brief What a drop receives for a drag plan: text, a URL with its text, or a file.
 *
 * For a written image the PNG bytes are offered as "image/png" as well, read from the file only
 * when a drop target asks for them.
 */
class DragMimeData : public QMimeData
{
    Q_OBJECT

public:
    explicit DragMimeData(const DragPlan &plan);

    QStringList formats() const override;
    bool hasFormat(const QString &mimeType) const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    QString m_imagePath;
};

} // namespace corvane

#include "KeyLegend.h"

namespace corvane::KeyLegend {

QKeySequence showWindow() { return QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_V); }
QKeySequence nextPasteItem() { return QKeySequence(Qt::META | Qt::ALT | Qt::Key_V); }

QString text(const QKeySequence &sequence)
{
    QString legend = sequence.toString(QKeySequence::NativeText);
    legend.replace(QStringLiteral("Meta"), QStringLiteral("Super"));
    return legend;
}

} // namespace corvane::KeyLegend

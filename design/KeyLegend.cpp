#include "KeyLegend.h"

namespace corvane::KeyLegend {

QKeySequence showWindow() { return QKeySequence(Qt::META | Qt::SHIFT | Qt::Key_V); }
QKeySequence nextPasteItem() { return QKeySequence(Qt::META | Qt::ALT | Qt::Key_V); }
QKeySequence settings() { return QKeySequence(Qt::CTRL | Qt::Key_Comma); }
QKeySequence pin() { return QKeySequence(Qt::CTRL | Qt::Key_P); }
QKeySequence tag() { return QKeySequence(Qt::CTRL | Qt::Key_T); }
QKeySequence quickLook() { return QKeySequence(Qt::CTRL | Qt::Key_Y); }
QKeySequence find() { return QKeySequence(Qt::CTRL | Qt::Key_F); }
QKeySequence collect() { return QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S); }

QKeySequence rowNumber(int number) { return QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_0 + number))); }

QString text(const QKeySequence &sequence)
{
    QString legend = sequence.toString(QKeySequence::NativeText);
    legend.replace(QStringLiteral("Meta"), QStringLiteral("Super"));
    return legend;
}

} // namespace corvane::KeyLegend

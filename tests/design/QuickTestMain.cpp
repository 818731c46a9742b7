#include "DesignSetup.h"

#include <QObject>
#include <QQmlEngine>
#include <QtQuickTest>

class Setup : public QObject
{
    Q_OBJECT

public slots:
    void qmlEngineAvailable(QQmlEngine *engine) { corvane::installDesign(*engine); }
};

QUICK_TEST_MAIN_WITH_SETUP(design, Setup)

#include "QuickTestMain.moc"

#include "QmlWindow.h"
#include "Logging.h"

#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

namespace corvane {

QmlWindow::QmlWindow(QQmlEngine &engine, QUrl url, QVariantMap initialProperties, QObject *parent)
    : QObject(parent)
    , m_engine(engine)
    , m_url(std::move(url))
    , m_properties(std::move(initialProperties))
{
}

QmlWindow::~QmlWindow() { delete m_window.data(); }

QQuickWindow *QmlWindow::window()
{
    if (m_window || !m_error.isEmpty())
        return m_window;
    QQmlComponent component(&m_engine, m_url);
    QObject *object = component.createWithInitialProperties(m_properties);
    m_window = qobject_cast<QQuickWindow *>(object);
    if (!m_window) {
        delete object;
        m_error = component.errorString();
        qCWarning(logUi, "Corvane: could not build %s: %s", qPrintable(m_url.toString()), qPrintable(m_error));
        return nullptr;
    }
    if (m_releaseGraphics) {
        m_window->setPersistentGraphics(false);
        m_window->setPersistentSceneGraph(false);
    }
    connect(m_window, &QWindow::visibleChanged, this, [this](bool visible) {
        if (visible)
            return;
        if (m_releaseGraphics)
            m_window->releaseResources();
        // A hidden window gets no leave from the X server: end hovering here, or rows keep
        // their hover look and tooltip when the window shows again.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(m_window, &leave);
        emit hidden();
    });
    emit built(m_window);
    return m_window;
}

bool QmlWindow::isShown() const { return m_window && m_window->isVisible(); }

void QmlWindow::showAndActivate()
{
    QQuickWindow *w = window();
    if (!w)
        return;
    if (w->windowStates() & Qt::WindowMinimized)
        w->setWindowStates(w->windowStates() & ~Qt::WindowMinimized);
    w->show();
    w->raise();
    w->requestActivate();
}

void QmlWindow::close()
{
    if (m_window)
        m_window->close();
}

} // namespace corvane

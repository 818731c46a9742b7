#pragma once

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QUrl>
#include <QVariantMap>

class QQmlEngine;

namespace corvane {

/**
 * @brief A top-level QML window built once, on first use, from a component URL.
 *
 * The window is kept when closed, so its state (scroll position, search text) survives.
 */
class QmlWindow : public QObject
{
    Q_OBJECT
public:
    QmlWindow(QQmlEngine &engine, QUrl url, QVariantMap initialProperties = {}, QObject *parent = nullptr);
    ~QmlWindow() override;

    /**
     * Windows opened now and then give their graphics back while hidden (the next opening sets
     * them up again); windows shown often keep them, so they show at once.
     */
    void setReleaseGraphicsWhenHidden(bool release) { m_releaseGraphics = release; }

    /** Sets a property the window gets when it is built. */
    void setInitialProperty(const QString &name, const QVariant &value) { m_properties.insert(name, value); }

    /** The window, built when first asked for; nothing when the component failed to load. */
    QQuickWindow *window();
    bool isBuilt() const { return m_window != nullptr; }
    bool isShown() const;
    QString errorString() const { return m_error; }

    /** Shows the window, raises it and asks for keyboard focus. */
    void showAndActivate();
    void close();

signals:
    void built(QQuickWindow *window);
    /** The window went from shown to hidden (closed by the user or by the program). */
    void hidden();

private:
    QQmlEngine &m_engine;
    QUrl m_url;
    QVariantMap m_properties;
    QPointer<QQuickWindow> m_window;
    QString m_error;
    bool m_releaseGraphics = false;
};

} // namespace corvane

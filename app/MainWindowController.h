#pragma once

#include <QObject>

#include <functional>

class QQuickWindow;
class QSettings;

namespace corvane {

class QmlWindow;

/**
 * @brief The main window: built once and kept for the life of the app. Hiding it masks every
 * revealed secret again.
 */
class MainWindowController : public QObject
{
    Q_OBJECT
public:
    explicit MainWindowController(QmlWindow &window, QObject *parent = nullptr);
    ~MainWindowController() override;

    static MainWindowController *shared();

    /** The window keeps its last position and size in @p settings, across hiding and across runs. */
    void keepGeometryIn(QSettings *settings);

    /** Called whenever the window is hidden or closed. */
    void setOnHidden(std::function<void()> onHidden) { m_onHidden = std::move(onHidden); }

    QQuickWindow *window();
    bool isShown() const;
    void showWindow();
    /** Shows the window and asks its search field to take focus. */
    void showForSearching();
    /** The show-window key: hides the window when it is in front, else shows it for searching. */
    void toggle();
    void close();

signals:
    /** The window should focus its search field. */
    void searchFocusRequested();

private:
    QmlWindow &m_window;
    std::function<void()> m_onHidden;
    QSettings *m_geometrySettings = nullptr;

    void saveGeometry();
    void restoreGeometry();
};

} // namespace corvane

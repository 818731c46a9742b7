#pragma once

#include "PasteQueueModel.h"

#include <QObject>
#include <QRect>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace corvane {

class QmlWindow;

/**
 * @brief The floating paste-queue panel: shown, without taking focus, while the queue holds
 * items; lists them with the current one marked and offers "Next" and "Clear".
 */
class PasteQueuePanelController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created by the application")
    Q_PROPERTY(corvane::PasteQueueModel *model READ model CONSTANT)

public:
    static constexpr int screenMargin = 16;

    explicit PasteQueuePanelController(QObject *parent = nullptr);

    /** The panel window; set once the QML engine exists. */
    void setPanel(QmlWindow *panel) { m_panel = panel; }
    /** Where the tray icon is (empty when unknown): the panel keeps clear of it and the popover. */
    void setTrayIconGeometry(std::function<QRect()> geometry) { m_trayIcon = std::move(geometry); }
    PasteQueueModel *model() { return &m_model; }

    /** The queue changed: its titles in order and the index of the item on the clipboard. */
    void update(const QStringList &titles, int currentIndex);
    bool isPanelShown() const;

    Q_INVOKABLE void next() { emit nextRequested(); }
    Q_INVOKABLE void clear() { emit clearRequested(); }

signals:
    void nextRequested();
    void clearRequested();

private:
    void showPanel();

    PasteQueueModel m_model;
    QmlWindow *m_panel = nullptr;
    std::function<QRect()> m_trayIcon;
};

} // namespace corvane

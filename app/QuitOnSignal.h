#pragma once

#include <QObject>

class QSocketNotifier;

namespace corvane {

/**
 * @brief Turns SIGTERM, SIGINT and SIGHUP (logout, Ctrl+C) into an orderly quit, so settings are
 * written and the database is closed instead of the process dying mid-way.
 */
class QuitOnSignal : public QObject
{
    Q_OBJECT
public:
    explicit QuitOnSignal(QObject *parent = nullptr);
    ~QuitOnSignal() override;

    /** False when the signal handlers could not be installed. */
    bool isInstalled() const { return m_notifier != nullptr; }

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace corvane

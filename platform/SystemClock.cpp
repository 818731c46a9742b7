#include "SystemClock.h"

#include <QCoreApplication>
#include <QTimer>

namespace corvane {

namespace {

class QtTimerHandle : public TimerHandle
{
public:
    QtTimerHandle(int ms, bool repeating, std::function<void()> callback)
        : m_timer(new QTimer)
    {
        m_timer->setSingleShot(!repeating);
        m_timer->setTimerType(Qt::CoarseTimer);
        m_timer->setInterval(ms);
        QObject::connect(m_timer, &QTimer::timeout, m_timer, [callback = std::move(callback)] {
            // A copy, so the callback survives when it destroys its own handle.
            const auto run = callback;
            run();
        });
        m_timer->start();
    }

    ~QtTimerHandle() override
    {
        m_timer->stop();
        m_timer->disconnect();
        // The handle may be destroyed from inside the timer's own timeout.
        if (QCoreApplication::instance())
            m_timer->deleteLater();
        else
            delete m_timer;
    }

    void cancel() override { m_timer->stop(); }
    bool isActive() const override { return m_timer->isActive(); }

private:
    QTimer *m_timer;
};

} // namespace

QDateTime SystemClock::now() const { return QDateTime::currentDateTime(); }

std::unique_ptr<TimerHandle> SystemClock::schedule(int ms, std::function<void()> callback)
{
    return std::make_unique<QtTimerHandle>(ms, false, std::move(callback));
}

std::unique_ptr<TimerHandle> SystemClock::scheduleRepeating(int ms, std::function<void()> callback)
{
    return std::make_unique<QtTimerHandle>(ms, true, std::move(callback));
}

} // namespace corvane

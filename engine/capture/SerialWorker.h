#pragma once

#include <QObject>
#include <QThread>

#include <functional>

namespace corvane {

/**
 * @brief One background thread that runs posted jobs one after another, in order.
 *
 * Destroying it waits for the job under way; jobs not yet started are dropped.
 */
class SerialWorker
{
public:
    explicit SerialWorker(const QString &name)
    {
        m_thread.setObjectName(name);
        m_context = new QObject;
        m_context->moveToThread(&m_thread);
        QObject::connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
        m_thread.start();
    }
    ~SerialWorker()
    {
        m_thread.quit();
        m_thread.wait();
    }
    SerialWorker(const SerialWorker &) = delete;
    SerialWorker &operator=(const SerialWorker &) = delete;

    void post(std::function<void()> job) { QMetaObject::invokeMethod(m_context, std::move(job), Qt::QueuedConnection); }

private:
    QThread m_thread;
    QObject *m_context = nullptr;
};

} // namespace corvane

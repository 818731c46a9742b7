#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

namespace corvane {

/** Runs `work` on a worker thread, then `then(result)` on `context`'s thread unless `context` is gone. */
template<typename T, typename Work, typename Then> void runOffThread(QObject *context, Work work, Then then)
{
    auto *watcher = new QFutureWatcher<T>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context, [watcher, then] {
        watcher->deleteLater();
        then(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

} // namespace corvane

#include "NetworkHttpClient.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace corvane {
namespace {

// The state of one transfer, owned by its reply's handlers.
struct Transfer {
    HttpRequest request;
    HttpClient::Completion done;
    std::optional<BodyRule> rule;
    QByteArray body;
    bool failed = false;
    bool truncated = false;
    bool finished = false;
};

} // namespace

NetworkHttpClient::NetworkHttpClient(QNetworkAccessManager *network, int deadlineMs)
    : m_network(network)
    , m_deadlineMs(deadlineMs)
{
}

void NetworkHttpClient::get(const HttpRequest &request, QObject *context, Completion done)
{
    const QString scheme = request.url.scheme();
    if (scheme != u"http" && scheme != u"https") {
        QMetaObject::invokeMethod(
            context, [done] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    QNetworkRequest networkRequest(request.url);
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    networkRequest.setMaximumRedirectsAllowed(maxRedirects);
    networkRequest.setTransferTimeout(idleTimeoutMs);
    if (!request.userAgent.isEmpty())
        networkRequest.setHeader(QNetworkRequest::UserAgentHeader, request.userAgent);

    QNetworkReply *reply = m_network->get(networkRequest);
    auto transfer = std::make_shared<Transfer>();
    transfer->request = request;
    transfer->done = std::move(done);

    const auto finish = [reply, transfer] {
        if (transfer->finished)
            return;
        transfer->finished = true;
        reply->disconnect();
        // Aborting from inside the reply's own signal upsets its error bookkeeping; do it next turn.
        if (!reply->isFinished())
            QMetaObject::invokeMethod(reply, &QNetworkReply::abort, Qt::QueuedConnection);
        reply->deleteLater();
        if (transfer->failed || (reply->error() != QNetworkReply::NoError && !transfer->truncated)) {
            transfer->done(std::nullopt);
            return;
        }
        HttpResponse response;
        response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        response.contentType = reply->rawHeader("Content-Type");
        response.body = std::move(transfer->body);
        transfer->done(std::move(response));
    };
    const auto fail = [transfer, finish] {
        transfer->failed = true;
        finish();
    };
    const auto take = [reply, transfer, finish, fail] {
        if (!transfer->rule || transfer->finished)
            return;
        const qint64 room = transfer->rule->maxBytes - transfer->body.size();
        transfer->body += reply->read(room + 1);
        if (transfer->body.size() <= transfer->rule->maxBytes)
            return;
        if (!transfer->rule->truncate) {
            fail();
            return;
        }
        transfer->body.truncate(transfer->rule->maxBytes);
        transfer->truncated = true;
        finish();
    };

    QObject::connect(reply, &QNetworkReply::metaDataChanged, context, [reply, transfer, fail] {
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (status >= 300 && status < 400)
            return; // a redirect being followed
        const QByteArray mediaType = reply->rawHeader("Content-Type").split(';').first().trimmed().toLower();
        transfer->rule.reset();
        for (const BodyRule &rule : transfer->request.accept) {
            if (rule.matches(mediaType)) {
                transfer->rule = rule;
                break;
            }
        }
        if (!transfer->rule) {
            fail();
            return;
        }
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (!transfer->rule->truncate && length.isValid() && length.toLongLong() > transfer->rule->maxBytes)
            fail();
    });
    QObject::connect(reply, &QNetworkReply::readyRead, context, take);
    QObject::connect(reply, &QNetworkReply::finished, context, [transfer, take, finish] {
        take();
        finish();
    });

    // The idle timeout lets a server that trickles bytes go on for ever; the deadline does not.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, context, fail);
    deadline->start(m_deadlineMs);

    QPointer<QNetworkReply> guarded(reply);
    QObject::connect(context, &QObject::destroyed, reply, [guarded] {
        if (guarded) {
            guarded->disconnect();
            guarded->abort();
            guarded->deleteLater();
        }
    });
}

} // namespace corvane

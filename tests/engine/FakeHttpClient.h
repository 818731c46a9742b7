#pragma once

#include "HttpClient.h"

#include <QHash>
#include <QPointer>
#include <QStringList>

#include <vector>

namespace corvane::test {

/** @brief Answers from a table of URLs (nothing for the rest) and records every request. */
class FakeHttpClient : public HttpClient
{
public:
    void answer(const QString &url, const QByteArray &body, const QByteArray &contentType = "text/html", int status = 200)
    {
        m_answers.insert(url, HttpResponse{status, contentType, body});
    }
    /** Holds answers back until release(); a held request whose context is gone gets none. */
    void setHolding(bool hold) { m_holding = hold; }
    void release()
    {
        for (auto &deliver : std::exchange(m_held, {}))
            deliver();
    }

    void get(const HttpRequest &request, QObject *context, Completion done) override
    {
        requested.append(request.url.toString());
        std::optional<HttpResponse> response;
        if (const auto it = m_answers.constFind(request.url.toString()); it != m_answers.cend()) {
            for (const BodyRule &rule : request.accept) {
                if (rule.matches(it->mediaType()) && (rule.truncate || it->body.size() <= rule.maxBytes))
                    response = *it;
            }
        }
        auto deliver = [context = QPointer<QObject>(context), done, response] {
            if (context)
                done(response);
        };
        if (m_holding)
            m_held.push_back(deliver);
        else
            QMetaObject::invokeMethod(context, deliver, Qt::QueuedConnection);
    }

    QStringList requested;

private:
    QHash<QString, HttpResponse> m_answers;
    bool m_holding = false;
    std::vector<std::function<void()>> m_held;
};

} // namespace corvane::test

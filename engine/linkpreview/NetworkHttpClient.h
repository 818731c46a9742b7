#pragma once

#include "HttpClient.h"

class QNetworkAccessManager;

namespace corvane {

/**
 * @brief The network HttpClient: bodies streamed and cut at their cap, at most 5 redirects that
 * never step down from https, a 10 s idle timeout and a total deadline per request.
 */
class NetworkHttpClient : public HttpClient
{
public:
    static constexpr int idleTimeoutMs = 10'000;
    static constexpr int defaultDeadlineMs = 20'000;
    static constexpr int maxRedirects = 5;

    explicit NetworkHttpClient(QNetworkAccessManager *network, int deadlineMs = defaultDeadlineMs);

    void get(const HttpRequest &request, QObject *context, Completion done) override;

private:
    QNetworkAccessManager *m_network;
    int m_deadlineMs;
};

} // namespace corvane

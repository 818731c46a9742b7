#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QUrl>

#include <functional>
#include <optional>

namespace corvane {

/** @brief What a request accepts: a media type (or a prefix such as "image/") and its size cap. */
struct BodyRule {
    QByteArray type;
    qint64 maxBytes = 0;
    /** Past the cap, keep the first `maxBytes` and finish; otherwise the request fails. */
    bool truncate = false;

    bool matches(const QByteArray &mediaType) const
    {
        return type.endsWith('/') ? mediaType.startsWith(type) : mediaType == type;
    }
};

struct HttpRequest {
    QUrl url;
    QByteArray userAgent;
    /** A reply whose media type no rule matches fails without its body being read. */
    QList<BodyRule> accept;
};

struct HttpResponse {
    int status = 0;
    /** The whole Content-Type header, parameters included. */
    QByteArray contentType;
    QByteArray body;

    bool isSuccess() const { return status >= 200 && status < 300; }
    /** The media type without parameters, lower case. */
    QByteArray mediaType() const { return contentType.split(';').first().trimmed().toLower(); }
};

/**
 * @brief GET requests for link previews. A response is delivered only when the transfer finished
 * within the client's limits; every failure (transport, cap, deadline, refused type) is nothing.
 */
class HttpClient
{
public:
    using Completion = std::function<void(std::optional<HttpResponse>)>;

    virtual ~HttpClient() = default;
    /**
     * Starts a request whose `done` runs later on the calling thread. Destroying `context` aborts
     * the request, and `done` never runs.
     */
    virtual void get(const HttpRequest &request, QObject *context, Completion done) = 0;
};

} // namespace corvane

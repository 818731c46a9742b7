#include "X11ClipboardReader.h"
#include "XcbReply.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QStringDecoder>

#include <xcb/xcb.h>
#include <xcb/xfixes.h>

#include <poll.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace corvane {

namespace {

template<typename T> using Reply = XcbReply<T>;

const QByteArray propertyName = QByteArrayLiteral("CORVANE_SELECTION");

} // namespace

struct X11ClipboardReader::Private {
    xcb_connection_t *connection = nullptr;
    xcb_window_t window = 0;
    quint8 xfixesEvent = 0;
    quint64 generation = 0;
    QHash<QByteArray, xcb_atom_t> atoms;
    /** X11 target names of the last snapshot, and its generation. */
    QStringList targets;
    quint64 targetsGeneration = 0;

    xcb_atom_t atom(const QByteArray &name)
    {
        if (const auto it = atoms.constFind(name); it != atoms.constEnd())
            return *it;
        Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, false, quint16(name.size()), name.constData()), nullptr));
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        atoms.insert(name, value);
        return value;
    }

    QString atomName(xcb_atom_t value)
    {
        Reply<xcb_get_atom_name_reply_t> reply(
            xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, value), nullptr));
        if (!reply)
            return {};
        return QString::fromLatin1(xcb_get_atom_name_name(reply.get()), xcb_get_atom_name_name_length(reply.get()));
    }

    bool isSelectionChange(const xcb_generic_event_t *event) const
    {
        return xfixesEvent && (event->response_type & 0x7f) == xfixesEvent + XCB_XFIXES_SELECTION_NOTIFY;
    }

    /** Handles the events that have arrived; returns the first one `wanted` accepts. */
    xcb_generic_event_t *pollEvents(const std::function<bool(const xcb_generic_event_t *)> &wanted)
    {
        while (Reply<xcb_generic_event_t> event{xcb_poll_for_event(connection)}) {
            if (isSelectionChange(event.get()))
                ++generation;
            else if (wanted && wanted(event.get()))
                return event.release();
        }
        return nullptr;
    }

    /** Brings `generation` up to date: every change the server made before this call is counted. */
    void sync()
    {
        Reply<xcb_get_input_focus_reply_t>(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        pollEvents({});
    }

    Reply<xcb_generic_event_t> waitFor(const std::function<bool(const xcb_generic_event_t *)> &wanted, QDeadlineTimer deadline)
    {
        xcb_flush(connection);
        for (;;) {
            if (xcb_generic_event_t *event = pollEvents(wanted))
                return Reply<xcb_generic_event_t>(event);
            if (xcb_connection_has_error(connection) || deadline.hasExpired())
                return nullptr;
            pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
            ::poll(&fd, 1, int(qMin<qint64>(deadline.remainingTime(), 100)));
        }
    }

    /** Whole property value, deleting it; `oversized` when it exceeds `limit` bytes. */
    std::optional<QByteArray> takeProperty(xcb_atom_t property, qint64 limit, xcb_atom_t *type, bool *oversized)
    {
        const quint32 words = quint32(qMin<qint64>(limit / 4 + 1, 0x3fffffff));
        Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, true, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, words), nullptr));
        if (!reply)
            return std::nullopt;
        *type = reply->type;
        if (reply->bytes_after > 0) {
            *oversized = true;
            xcb_delete_property(connection, window, property);
            return std::nullopt;
        }
        const int length = xcb_get_property_value_length(reply.get());
        return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), length);
    }

    /** One target's data, through the INCR protocol when the owner sends it in chunks. */
    std::optional<QByteArray> convert(const QByteArray &target, qint64 limit, bool *oversized)
    {
        const xcb_atom_t clipboard = atom("CLIPBOARD");
        const xcb_atom_t property = atom(propertyName);
        const xcb_atom_t targetAtom = atom(target);
        xcb_convert_selection(connection, window, clipboard, targetAtom, property, XCB_CURRENT_TIME);
        const QDeadlineTimer deadline(timeoutMs);
        const auto notify = waitFor(
            [&](const xcb_generic_event_t *event) {
                if ((event->response_type & 0x7f) != XCB_SELECTION_NOTIFY)
                    return false;
                const auto *n = reinterpret_cast<const xcb_selection_notify_event_t *>(event);
                return n->requestor == window && n->selection == clipboard && n->target == targetAtom;
            },
            deadline);
        if (!notify || reinterpret_cast<const xcb_selection_notify_event_t *>(notify.get())->property == XCB_ATOM_NONE)
            return std::nullopt;

        xcb_atom_t type = XCB_ATOM_NONE;
        std::optional<QByteArray> data = takeProperty(property, limit, &type, oversized);
        if (!data || type != atom("INCR"))
            return data;

        // Deleting the INCR property asked the owner for the first chunk; an empty chunk ends it.
        QByteArray whole;
        for (;;) {
            const auto chunk = waitFor(
                [&](const xcb_generic_event_t *event) {
                    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
                        return false;
                    const auto *p = reinterpret_cast<const xcb_property_notify_event_t *>(event);
                    return p->window == window && p->atom == property && p->state == XCB_PROPERTY_NEW_VALUE;
                },
                QDeadlineTimer(timeoutMs));
            if (!chunk)
                return std::nullopt;
            const std::optional<QByteArray> part = takeProperty(property, limit - whole.size(), &type, oversized);
            if (!part)
                return std::nullopt;
            if (part->isEmpty())
                return whole;
            whole += *part;
            if (whole.size() > limit) {
                *oversized = true;
                return std::nullopt;
            }
        }
    }
};

X11ClipboardReader::X11ClipboardReader(const QByteArray &display)
    : d(new Private)
{
    d->connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    if (xcb_connection_has_error(d->connection))
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(d->connection)).data;
    d->window = xcb_generate_id(d->connection);
    const quint32 mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(d->connection, XCB_COPY_FROM_PARENT, d->window, screen->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      screen->root_visual, XCB_CW_EVENT_MASK, &mask);

    const xcb_query_extension_reply_t *xfixes = xcb_get_extension_data(d->connection, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        Reply<xcb_xfixes_query_version_reply_t>(xcb_xfixes_query_version_reply(
            d->connection, xcb_xfixes_query_version(d->connection, XCB_XFIXES_MAJOR_VERSION, XCB_XFIXES_MINOR_VERSION), nullptr));
        d->xfixesEvent = xfixes->first_event;
        xcb_xfixes_select_selection_input(d->connection, d->window, d->atom("CLIPBOARD"),
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY
                                              | XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    }
    d->sync();
}

X11ClipboardReader::~X11ClipboardReader()
{
    xcb_disconnect(d->connection);
    delete d;
}

bool X11ClipboardReader::isConnected() const { return !xcb_connection_has_error(d->connection) && d->xfixesEvent != 0; }

QString X11ClipboardReader::mimeName(const QString &target)
{
    static const QStringList textTargets{QStringLiteral("UTF8_STRING"), QStringLiteral("STRING"), QStringLiteral("TEXT"),
                                         QStringLiteral("COMPOUND_TEXT"), QStringLiteral("text/plain;charset=utf-8")};
    return textTargets.contains(target) ? QStringLiteral("text/plain") : target;
}

X11ClipboardReader::Snapshot X11ClipboardReader::snapshot()
{
    Snapshot snapshot;
    if (!isConnected())
        return snapshot;
    d->sync();
    snapshot.generation = d->generation;
    bool oversized = false;
    const std::optional<QByteArray> targets = d->convert("TARGETS", 64 * 1024, &oversized);
    d->sync();
    if (!targets || d->generation != snapshot.generation)
        return snapshot; // stale or unowned: the caller's next look sees the newer generation
    const auto *atoms = reinterpret_cast<const xcb_atom_t *>(targets->constData());
    d->targets.clear();
    for (qsizetype i = 0; i < targets->size() / qsizetype(sizeof(xcb_atom_t)); ++i)
        d->targets << d->atomName(atoms[i]);
    d->targetsGeneration = snapshot.generation;
    QStringList names;
    for (const QString &target : std::as_const(d->targets))
        names << mimeName(target);
    snapshot.formats = ClipboardFormats::withoutBookkeeping(names);
    return snapshot;
}

namespace {

QString decodedText(const QByteArray &data, bool latin1)
{
    if (latin1)
        return QString::fromLatin1(data);
    // Some browsers hand out HTML as UTF-16 with a byte-order mark.
    if (data.startsWith("\xff\xfe") || data.startsWith("\xfe\xff")) {
        QStringDecoder decoder(QStringDecoder::Utf16);
        return decoder(data);
    }
    return QString::fromUtf8(data);
}

QString firstOf(const QStringList &offered, const QStringList &wanted)
{
    for (const QString &target : wanted) {
        if (offered.contains(target))
            return target;
    }
    return {};
}

QString firstImage(const QStringList &offered)
{
    const QString preferred = firstOf(offered, {QStringLiteral("image/png"), QStringLiteral("image/bmp")});
    if (!preferred.isEmpty())
        return preferred;
    for (const QString &target : offered) {
        if (target.startsWith(QLatin1String("image/")))
            return target;
    }
    return {};
}

} // namespace

std::optional<ClipboardContent> X11ClipboardReader::read(quint64 generation, ClipboardParts parts)
{
    if (!isConnected())
        return std::nullopt;
    d->sync();
    if (d->generation != generation || d->targetsGeneration != generation)
        return std::nullopt;

    ClipboardContent content;
    const auto fetch = [&](const QString &target, qint64 limit) -> std::optional<QByteArray> {
        if (target.isEmpty())
            return std::nullopt;
        bool oversized = false;
        std::optional<QByteArray> data = d->convert(target.toLatin1(), limit, &oversized);
        if (oversized)
            content.oversized << mimeName(target);
        return data;
    };

    if (parts & ClipboardPart::text) {
        const QString target = firstOf(d->targets,
                                       {QStringLiteral("UTF8_STRING"), QStringLiteral("text/plain;charset=utf-8"),
                                        QStringLiteral("text/plain"), QStringLiteral("STRING")});
        if (const auto data = fetch(target, ClipboardLimits::text))
            content.text = decodedText(*data, target == QLatin1String("STRING"));
    }
    if (parts & ClipboardPart::html) {
        if (const auto data = fetch(firstOf(d->targets, {QStringLiteral("text/html")}), ClipboardLimits::html))
            content.html = decodedText(*data, false);
    }
    if (parts & ClipboardPart::files) {
        if (const auto data = fetch(firstOf(d->targets, {ClipboardFormats::uriList}), ClipboardLimits::uriList))
            content.fileUrls = ClipboardFormats::fileUrlsFromUriList(*data);
        if (content.fileUrls.isEmpty()) {
            if (const auto data = fetch(firstOf(d->targets, {ClipboardFormats::gnomeCopiedFiles}), ClipboardLimits::uriList))
                content.fileUrls = ClipboardFormats::fileUrlsFromGnomeCopiedFiles(*data);
        }
    }
    if (parts & ClipboardPart::image) {
        // Left encoded: a large image is decoded only at the size the history needs, off this thread.
        if (const auto data = fetch(firstImage(d->targets), ClipboardLimits::image))
            content.imageData = *data;
    }
    if (parts & ClipboardPart::sourceUrl) {
        const QString target = firstOf(d->targets, {ClipboardFormats::chromiumSourceUrl, ClipboardFormats::mozillaSourceUrl});
        if (const auto data = fetch(target, ClipboardLimits::sourceUrl))
            content.sourceUrl = ClipboardFormats::sourceUrlFromData(*data);
    }

    d->sync();
    if (d->generation != generation)
        return std::nullopt; // changed while reading: this content may belong to the newer copy
    return content;
}

} // namespace corvane

#include "NoteEditorController.h"

#include "AppEvents.h"
#include "Clock.h"

#include <QCoreApplication>

namespace corvane {

NoteEditorController::NoteEditorController(QObject *parent)
    : QObject(parent)
{
    m_sink.storedNote = [this](std::int64_t id) {
        const ClipRef clip = m_store ? m_store->clip(id) : ClipRef();
        return clip ? clip->note.value_or(QString()) : QString();
    };
    m_sink.saveNote = [this](const QString &text, std::int64_t id) {
        if (m_store)
            m_store->saveNote(text, id);
    };
    if (auto *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &NoteEditorController::flush);
}

NoteEditorController::NoteEditorController(Clock &clock, NoteSink sink, QObject *parent)
    : QObject(parent)
    , m_clock(&clock)
    , m_sink(std::move(sink))
{
    if (auto *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &NoteEditorController::flush);
}

NoteEditorController::~NoteEditorController() { flush(); }

void NoteEditorController::setStore(ClipboardStore *store)
{
    if (m_store == store)
        return;
    flush();
    m_store = store;
    emit storeChanged();
    load();
}

void NoteEditorController::setClipId(qint64 id)
{
    if (m_clipId == id)
        return;
    // The pending save captured its own clip id; written now it cannot be lost with this view.
    flush();
    m_clipId = id;
    emit clipIdChanged();
    load();
    setEditing(false);
}

void NoteEditorController::load()
{
    const QString note = storedNote(m_clipId);
    if (m_draft != note) {
        m_draft = note;
        emit draftChanged();
    }
}

void NoteEditorController::setDraft(const QString &draft)
{
    if (m_draft == draft)
        return;
    m_draft = draft;
    emit draftChanged();
    if (!m_editing)
        return;
    cancelPending();
    m_pending = Pending{draft, m_clipId, storedNote(m_clipId)};
    // Views made in QML run on the store's clock.
    Clock *clock = m_clock ? m_clock : m_store ? &m_store->clock() : nullptr;
    if (!clock)
        return;
    m_timer = clock->schedule(saveDelayMs, [this] { flush(); });
}

void NoteEditorController::startEditing()
{
    if (m_editing)
        return;
    AppEvents::instance().post(AppEvents::releaseSearchFocusName());
    setEditing(true);
}

void NoteEditorController::commit()
{
    if (!m_editing)
        return;
    cancelPending();
    if (m_draft != storedNote(m_clipId))
        save(m_draft, m_clipId);
    setEditing(false);
}

void NoteEditorController::flush()
{
    if (!m_pending)
        return;
    const Pending pending = *m_pending;
    cancelPending();
    if (pending.value != pending.storedAtCapture)
        save(pending.value, pending.clipId);
}

void NoteEditorController::cancelPending()
{
    m_timer.reset();
    m_pending.reset();
}

QString NoteEditorController::storedNote(std::int64_t id) const { return m_sink.storedNote ? m_sink.storedNote(id) : QString(); }

void NoteEditorController::save(const QString &text, std::int64_t id)
{
    if (m_sink.saveNote)
        m_sink.saveNote(text, id);
}

void NoteEditorController::setEditing(bool editing)
{
    if (m_editing == editing)
        return;
    m_editing = editing;
    emit editingChanged();
}

} // namespace corvane

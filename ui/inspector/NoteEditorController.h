#pragma once

#include "ClipboardStore.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>

namespace corvane {

class Clock;
class TimerHandle;

/**
 * @brief The note field's rules: the draft, the editing state and the save 0.8 s after the last
 * keystroke. Return, Escape and focus loss commit at once; a save still pending when the clip
 * changes, the controller goes or the app quits is written at once rather than lost.
 */
class NoteEditorController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(corvane::ClipboardStore *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(qint64 clipId READ clipId WRITE setClipId NOTIFY clipIdChanged)
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(bool editing READ editing NOTIFY editingChanged)

public:
    static constexpr int saveDelayMs = 800;

    /** @brief Where notes come from and go to: the store, or a test's fake. */
    struct NoteSink {
        std::function<QString(std::int64_t clipId)> storedNote;
        std::function<void(const QString &text, std::int64_t clipId)> saveNote;
    };

    /** For QML: the system clock, notes of `store`. */
    explicit NoteEditorController(QObject *parent = nullptr);
    NoteEditorController(Clock &clock, NoteSink sink, QObject *parent = nullptr);
    ~NoteEditorController() override;

    ClipboardStore *store() const { return m_store; }
    void setStore(ClipboardStore *store);
    qint64 clipId() const { return m_clipId; }
    /** Flushes a pending save, then shows the new clip's note, not editing. */
    void setClipId(qint64 id);
    QString draft() const { return m_draft; }
    /** While editing, (re)starts the 0.8 s save of this value. */
    void setDraft(const QString &draft);
    bool editing() const { return m_editing; }
    bool hasPendingSave() const { return m_pending.has_value(); }

    /** Shows the editor and asks the search field to let go of the keyboard focus. */
    Q_INVOKABLE void startEditing();
    /** Saves a changed draft at once and closes the editor; nothing when not editing. */
    Q_INVOKABLE void commit();
    /** Writes a pending save now. */
    Q_INVOKABLE void flush();

signals:
    void storeChanged();
    void clipIdChanged();
    void draftChanged();
    void editingChanged();

private:
    struct Pending {
        QString value;
        std::int64_t clipId = 0;
        QString storedAtCapture;
    };

    QString storedNote(std::int64_t id) const;
    void save(const QString &text, std::int64_t id);
    void load();
    void setEditing(bool editing);
    void cancelPending();

    Clock *m_clock = nullptr;
    NoteSink m_sink;
    QPointer<ClipboardStore> m_store;
    qint64 m_clipId = 0;
    QString m_draft;
    bool m_editing = false;
    std::optional<Pending> m_pending;
    std::unique_ptr<TimerHandle> m_timer;
};

} // namespace corvane

#include "FakeClock.h"

#include <algorithm>

namespace corvane {

struct FakeClock::Entry {
    qint64 due = 0;
    qint64 interval = 0;
    bool repeating = false;
    bool cancelled = false;
    std::uint64_t sequence = 0;
    std::function<void()> callback;
};

namespace {

class FakeTimerHandle : public TimerHandle
{
public:
    explicit FakeTimerHandle(std::shared_ptr<FakeClock::Entry> entry)
        : m_entry(std::move(entry))
    {
    }
    ~FakeTimerHandle() override { cancel(); }
    void cancel() override { m_entry->cancelled = true; }
    bool isActive() const override { return !m_entry->cancelled; }

private:
    std::shared_ptr<FakeClock::Entry> m_entry;
};

} // namespace

FakeClock::FakeClock(QDateTime start)
    : m_start(start.isValid() ? std::move(start) : QDateTime(QDate(2026, 1, 1), QTime(12, 0), Qt::UTC))
{
}

FakeClock::~FakeClock() = default;

QDateTime FakeClock::now() const { return m_start.addMSecs(m_elapsed); }

void FakeClock::setNow(const QDateTime &time) { m_start = time.addMSecs(-m_elapsed); }

std::unique_ptr<TimerHandle> FakeClock::schedule(int ms, std::function<void()> callback)
{
    return add(ms, false, std::move(callback));
}

std::unique_ptr<TimerHandle> FakeClock::scheduleRepeating(int ms, std::function<void()> callback)
{
    return add(ms, true, std::move(callback));
}

std::unique_ptr<TimerHandle> FakeClock::add(qint64 ms, bool repeating, std::function<void()> callback)
{
    auto entry = std::make_shared<Entry>();
    entry->interval = std::max<qint64>(ms, repeating ? 1 : 0);
    entry->due = m_elapsed + entry->interval;
    entry->repeating = repeating;
    entry->sequence = m_nextSequence++;
    entry->callback = std::move(callback);
    m_entries.push_back(entry);
    return std::make_unique<FakeTimerHandle>(entry);
}

void FakeClock::advance(qint64 ms)
{
    const qint64 target = m_elapsed + std::max<qint64>(ms, 0);
    for (;;) {
        std::erase_if(m_entries, [](const auto &entry) { return entry->cancelled; });
        auto next = std::min_element(m_entries.begin(), m_entries.end(), [](const auto &a, const auto &b) {
            return a->due != b->due ? a->due < b->due : a->sequence < b->sequence;
        });
        if (next == m_entries.end() || (*next)->due > target)
            break;
        const std::shared_ptr<Entry> entry = *next;
        m_elapsed = std::max(m_elapsed, entry->due);
        if (entry->repeating) {
            entry->due += entry->interval;
            entry->sequence = m_nextSequence++;
        } else {
            entry->cancelled = true;
        }
        const auto callback = entry->callback;
        callback();
    }
    m_elapsed = target;
}

int FakeClock::pendingCount() const
{
    return int(std::count_if(m_entries.begin(), m_entries.end(), [](const auto &entry) { return !entry->cancelled; }));
}

} // namespace corvane

#include "base/virtual_timer_host.h"

#include <algorithm>
#include <limits>

struct VirtualTimerHost::Entry {
    VirtualTimerHost* host = nullptr;
    QString name;
    int interval = 0;
    bool enabled = false;
    std::int64_t due = 0;
    std::uint64_t order = 0;  // creation order breaks ties
    std::function<void()> onTick;

    void Arm() { due = host->m_nowMs + interval; }
};

namespace {

class VirtualTimer final : public Timer {
public:
    explicit VirtualTimer(std::shared_ptr<VirtualTimerHost::Entry> entry)
        : m_entry(std::move(entry)) {}
    ~VirtualTimer() override {
        m_entry->enabled = false;
        m_entry->host = nullptr;  // the host drops entries without a host
    }

    QString Name() const override { return m_entry->name; }
    int Interval() const override { return m_entry->interval; }
    bool Enabled() const override { return m_entry->enabled; }

    void SetInterval(int ms) override {
        if (m_entry->interval == ms) return;
        m_entry->interval = ms;
        if (m_entry->enabled) m_entry->Arm();
    }
    void SetEnabled(bool on) override {
        if (on && !m_entry->enabled) m_entry->Arm();
        m_entry->enabled = on;
    }

private:
    std::shared_ptr<VirtualTimerHost::Entry> m_entry;
};

}  // namespace

VirtualTimerHost::VirtualTimerHost(const QDateTime& start) : m_start(start) {}

VirtualTimerHost::~VirtualTimerHost() {
    for (auto& e : m_entries) e->host = nullptr;
}

std::unique_ptr<Timer> VirtualTimerHost::CreateTimer(const QString& name, int intervalMs,
                                                     std::function<void()> onTick) {
    auto entry = std::make_shared<Entry>();
    entry->host = this;
    entry->name = name;
    entry->interval = intervalMs;
    entry->order = m_nextOrder++;
    entry->onTick = std::move(onTick);
    m_entries.push_back(entry);
    return std::make_unique<VirtualTimer>(entry);
}

QDateTime VirtualTimerHost::Now() const { return m_start.addMSecs(m_nowMs + m_wallOffsetMs); }

void VirtualTimerHost::SetWallTime(const QDateTime& t) {
    m_wallOffsetMs = m_start.msecsTo(t) - m_nowMs;
}

VirtualTimerHost::Entry* VirtualTimerHost::NextDue(std::int64_t limit) const {
    Entry* best = nullptr;
    for (const auto& e : m_entries) {
        if (!e->host || !e->enabled || e->interval <= 0 || e->due > limit) continue;
        if (!best || e->due < best->due || (e->due == best->due && e->order < best->order))
            best = e.get();
    }
    return best;
}

void VirtualTimerHost::Advance(std::int64_t ms) {
    if (m_stopped) return;
    const std::int64_t target = m_nowMs + std::max<std::int64_t>(ms, 0);
    while (Entry* e = NextDue(target)) {
        m_nowMs = std::max(m_nowMs, e->due);
        const std::int64_t firedAt = e->due;
        // Keep the entry alive while its handler runs: the handler may destroy its timer.
        std::shared_ptr<Entry> keep;
        for (auto& p : m_entries)
            if (p.get() == e) keep = p;
        auto handler = keep->onTick;
        if (handler) handler();
        if (m_stopped) return;
        // A timer left enabled and not re-armed by its handler fires again one interval on.
        if (keep->host && keep->enabled && keep->due == firedAt)
            keep->due = firedAt + keep->interval;
    }
    m_nowMs = target;
    std::erase_if(m_entries, [](const std::shared_ptr<Entry>& p) { return p->host == nullptr; });
}

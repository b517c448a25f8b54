#include "platform/sim/SimThreads.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "platform/System.h"
#include "platform/sim/SimFaults.h"

namespace platform::sim {
namespace {

// Thrown out of a wait to unwind a thread that must end; caught only by the
// thread's own wrapper.
struct CThreadEnd {};

enum class EWait { NotStarted, Ready, Sleeping, Waiting, Ended };

struct SimThread {
    SimThreadId id = 0;
    EWait wait = EWait::NotStarted;
    std::uint64_t wakeAt = 0;
    std::function<bool()> ready;
    std::uint64_t order = 0; // when it began to wait: the longest waiting goes first
    bool endRequested = false;
    std::thread host;
};

struct Scheduler {
    std::mutex lock;
    std::condition_variable turn;
    std::recursive_mutex driverLock; // one driver at a time
    std::map<SimThreadId, std::unique_ptr<SimThread>> threads;
    SimThreadId running = 0; // who holds the baton; 0 is the driver
    SimThreadId nextId = 1;
    std::uint64_t now = 0;
    std::uint64_t nextOrder = 0;
};

// Never destroyed: threads still parked at process exit must find it intact.
Scheduler& Sched() {
    static Scheduler* scheduler = new Scheduler;
    return *scheduler;
}

thread_local SimThread* t_self = nullptr;

// Gives the baton back to the driver and waits for it to come back.
void ParkSelf(std::unique_lock<std::mutex>& held, SimThread& self) {
    Scheduler& s = Sched();
    self.order = ++s.nextOrder;
    s.running = 0;
    s.turn.notify_all();
    s.turn.wait(held, [&] { return s.running == self.id; });
    if (self.endRequested && std::uncaught_exceptions() == 0)
        throw CThreadEnd{};
}

// Hands the baton to t and waits until it is back with the driver.
void Resume(std::unique_lock<std::mutex>& held, SimThread& t) {
    Scheduler& s = Sched();
    s.running = t.id;
    s.turn.notify_all();
    s.turn.wait(held, [&] { return s.running == 0; });
}

std::vector<SimThread*> WaitingInOrder() {
    std::vector<SimThread*> waiting;
    for (auto& [id, t] : Sched().threads)
        if (t->wait != EWait::Ended)
            waiting.push_back(t.get());
    std::sort(waiting.begin(), waiting.end(),
              [](const SimThread* a, const SimThread* b) { return a->order < b->order; });
    return waiting;
}

// The thread to resume now, or null. A waiting thread's ready() is checked
// with the lock released, as it reads other areas' state; every simulated
// thread is parked meanwhile.
SimThread* PickReady(std::unique_lock<std::mutex>& held) {
    for (SimThread* t : WaitingInOrder()) {
        if (t->endRequested || t->wait == EWait::NotStarted || t->wait == EWait::Ready)
            return t;
        if (t->wait == EWait::Sleeping && t->wakeAt <= Sched().now)
            return t;
        if (t->wait == EWait::Waiting) {
            std::function<bool()> ready = t->ready;
            held.unlock();
            bool isReady = ready();
            held.lock();
            if (isReady)
                return t;
        }
    }
    return nullptr;
}

std::optional<std::uint64_t> EarliestWake() {
    std::optional<std::uint64_t> earliest;
    for (auto& [id, t] : Sched().threads)
        if (t->wait == EWait::Sleeping && (!earliest || t->wakeAt < *earliest))
            earliest = t->wakeAt;
    return earliest;
}

bool Holds(std::unique_lock<std::mutex>& held, const std::function<bool()>& done) {
    if (!done)
        return false;
    held.unlock();
    bool holds = done();
    held.lock();
    return holds;
}

void SleepOnThread(SimThread& self, std::uint32_t ms) {
    Scheduler& s = Sched();
    std::unique_lock held(s.lock);
    self.wait = ms == 0 ? EWait::Ready : EWait::Sleeping;
    self.wakeAt = s.now + ms;
    ParkSelf(held, self);
}

} // namespace

std::uint64_t Now() {
    std::lock_guard guard(Sched().lock);
    return Sched().now;
}

bool RunUntil(const std::function<bool()>& done, std::uint64_t budgetMs) {
    if (t_self) {
        WaitUntil(done);
        return true;
    }
    Scheduler& s = Sched();
    std::lock_guard driver(s.driverLock);
    std::unique_lock held(s.lock);
    const std::uint64_t deadline = s.now + budgetMs;
    for (;;) {
        if (Holds(held, done))
            return true;
        if (SimThread* t = PickReady(held)) {
            Resume(held, *t);
            continue;
        }
        std::optional<std::uint64_t> wake = EarliestWake();
        if (!wake || *wake > deadline) {
            s.now = std::max(s.now, deadline);
            return Holds(held, done);
        }
        s.now = *wake;
    }
}

void RunFor(std::uint64_t ms) {
    RunUntil(nullptr, ms);
}

void WaitUntil(const std::function<bool()>& ready) {
    if (!t_self) {
        RunUntil(ready);
        return;
    }
    Scheduler& s = Sched();
    std::unique_lock held(s.lock);
    t_self->wait = EWait::Waiting;
    t_self->ready = ready;
    ParkSelf(held, *t_self);
    t_self->ready = nullptr;
}

SimThreadId SpawnThread(std::function<void()> body) {
    Scheduler& s = Sched();
    std::lock_guard guard(s.lock);
    auto owned = std::make_unique<SimThread>();
    SimThread* t = owned.get();
    t->id = s.nextId++;
    t->order = ++s.nextOrder;
    s.threads.emplace(t->id, std::move(owned));
    t->host = std::thread([t, body = std::move(body)] {
        Scheduler& sched = Sched();
        t_self = t;
        {
            std::unique_lock held(sched.lock);
            sched.turn.wait(held, [&] { return sched.running == t->id; });
        }
        if (!t->endRequested) {
            try {
                body();
            } catch (const CThreadEnd&) {
            }
        }
        std::lock_guard done(sched.lock);
        t->wait = EWait::Ended;
        sched.running = 0;
        sched.turn.notify_all();
    });
    return t->id;
}

SimThreadId CurrentThread() {
    return t_self ? t_self->id : 0;
}

bool ThreadEnded(SimThreadId id) {
    std::lock_guard guard(Sched().lock);
    auto it = Sched().threads.find(id);
    return it == Sched().threads.end() || it->second->wait == EWait::Ended;
}

std::uint32_t LiveThreadCount() {
    std::lock_guard guard(Sched().lock);
    std::uint32_t live = 0;
    for (auto& [id, t] : Sched().threads)
        live += t->wait != EWait::Ended ? 1 : 0;
    return live;
}

void EndOtherThreads() {
    std::lock_guard guard(Sched().lock);
    for (auto& [id, t] : Sched().threads)
        if (t.get() != t_self && t->wait != EWait::Ended)
            t->endRequested = true;
}

void ResetThreads() {
    Scheduler& s = Sched();
    std::lock_guard driver(s.driverLock);
    std::unique_lock held(s.lock);
    for (auto& [id, t] : s.threads)
        t->endRequested = true;
    for (std::vector<SimThread*> live = WaitingInOrder(); !live.empty(); live = WaitingInOrder())
        Resume(held, *live.front());
    std::map<SimThreadId, std::unique_ptr<SimThread>> ended;
    ended.swap(s.threads);
    s.now = 0;
    s.nextOrder = 0;
    held.unlock();
    for (auto& [id, t] : ended)
        t->host.join();
}

} // namespace platform::sim

namespace platform {

void Sleep(std::uint32_t milliseconds) {
    sim::TakeFault("Sleep");
    if (sim::t_self)
        sim::SleepOnThread(*sim::t_self, milliseconds);
    else
        sim::RunFor(milliseconds);
}

Status ThreadTraits::Close(RawHandle raw) {
    (void)raw;
    if (WinError e = sim::TakeFault("CloseHandle"))
        return Failure(e);
    return {};
}

Outcome<ThreadHandle> CreateThread(ThreadStartRoutine start, void* parameter) {
    if (WinError e = sim::TakeFault("CreateThread"))
        return Outcome<ThreadHandle>::Failure(e);
    sim::SimThreadId id = sim::SpawnThread([start, parameter] { start(parameter); });
    return ThreadHandle(reinterpret_cast<RawHandle>(static_cast<std::uintptr_t>(id)));
}

} // namespace platform

// Simulated threads and virtual time.
//
// Every thread the simulation creates (CreateThread, a service main, a
// service process's main thread) is a real host thread, but only one of them
// runs at a time: they pass a baton. A thread holds the baton until it waits
// (Sleep, or a simulated wait such as the service dispatcher's) or ends.
//
// The baton starts with the driver: any thread the simulation did not
// create, normally the test's own. While the driver runs, no simulated
// thread does. The driver hands the baton out only inside RunFor/RunUntil
// (and Sleep, which on the driver is RunFor): it repeatedly resumes the
// waiting thread that is ready and has waited longest; when none is ready,
// the virtual clock jumps to the earliest wake-up time. Time therefore
// passes only when every simulated thread is asleep, a Sleep costs no real
// time, and a run is the same every time.
//
// Ending threads: ResetThreads (and a service process whose main thread
// returns, as process exit does) marks threads to end; a marked thread's
// next wait throws a private exception that unwinds its stack and is caught
// by the thread's own wrapper. Code run on simulated threads must therefore
// let exceptions pass (no noexcept on the way to a Sleep).
#pragma once

#include <cstdint>
#include <functional>

namespace platform::sim {

using SimThreadId = std::uint32_t;

// Milliseconds of virtual time since the last reset.
std::uint64_t Now();

// Runs the simulated threads for ms of virtual time; the clock then stands
// at its old value plus ms.
void RunFor(std::uint64_t ms);
// Runs the simulated threads until done() holds (checked whenever the baton
// is back with the driver) or budgetMs of virtual time have passed. True
// when done() held; the clock stands where it held, or at the budget's end.
bool RunUntil(const std::function<bool()>& done, std::uint64_t budgetMs = 3'600'000);

// For the simulation's own areas: parks the calling simulated thread until
// ready() holds. ready() runs on the driver with no simulated thread running
// and must not block. On the driver this is RunUntil(ready).
void WaitUntil(const std::function<bool()>& ready);

// Starts a simulated thread; it first runs when the baton reaches it.
SimThreadId SpawnThread(std::function<void()> body);
// The calling thread's id; 0 on the driver.
SimThreadId CurrentThread();
bool ThreadEnded(SimThreadId id);
// Threads created and not yet ended.
std::uint32_t LiveThreadCount();
// Marks every other thread to end at its next wait (process exit).
void EndOtherThreads();

// Ends every simulated thread, joins them and sets the clock to zero.
void ResetThreads();

} // namespace platform::sim

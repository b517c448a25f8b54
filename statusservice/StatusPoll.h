// The poll thread: reads the printer's status report every 800 ms and sets
// the queue's state from its status byte.
#pragma once

#include <cstdint>

namespace statusservice {

constexpr std::uint32_t PollPeriodMs = 800;

struct StatusAction {
    bool acts = false;
    std::uint32_t control = 0; // PrinterControlPause or PrinterControlResume
    std::uint32_t statusWord = 0;
};
StatusAction ActionForStatusByte(std::uint8_t statusByte);

// One poll: reopen when asked, read, act, trace.
void PollCycle();
// Thread start routine; never returns.
std::uint32_t StatusPollThread(void* parameter);

} // namespace statusservice

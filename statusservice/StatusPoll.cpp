#include "statusservice/StatusPoll.h"

#include <array>

#include "platform/Spooler.h"
#include "platform/System.h"
#include "statusservice/DeviceDiscovery.h"
#include "statusservice/QueueOperations.h"
#include "statusservice/ServiceState.h"
#include "statusservice/Trace.h"

namespace statusservice {
namespace {

using namespace platform;

constexpr std::size_t StatusByteIndex = 3;

// The previous handle holds the device exclusively, so it goes first.
void ReopenDevice() {
    DeviceHandle.Reset();
    DeviceHandle = OpenPrinterDevice();
}

// Only a complete report is taken: a failed or short read says nothing
// about the printer, and a zero byte would read as paper out.
bool ReadStatusReport() {
    std::array<std::uint8_t, 5> report{};
    Outcome<std::uint32_t> read = ReadFile(DeviceHandle, report.data(), report.size());
    if (!read || read.value != report.size())
        return false;
    StatusReport = report;
    return true;
}

} // namespace

StatusAction ActionForStatusByte(std::uint8_t statusByte) {
    switch (statusByte) {
    case 0x04:
    case 0x0C:
    case 0x24:
        return {true, PrinterControlPause, PrinterStatusDoorOpen};
    case 0x00:
    case 0x08:
    case 0x80:
        return {true, PrinterControlPause, PrinterStatusPaperOut};
    case 0x20:
    case 0x28:
    case 0xA0:
        return {true, PrinterControlResume, 0};
    default:
        return {};
    }
}

void PollCycle() {
    if (ReopenRequested.load()) {
        ReopenDevice();
        ReopenRequested = 0;
    }
    if (!DeviceHandle || !ReadStatusReport())
        return;
    std::uint8_t statusByte = StatusReport[StatusByteIndex];
    StatusAction action = ActionForStatusByte(statusByte);
    if (!PrinterRemoved.load() && action.acts)
        SetQueueState(action.control, action.statusWord);
    Trace("Brisomate STATUS:%d\r\n", static_cast<int>(static_cast<std::int8_t>(statusByte)));
}

std::uint32_t StatusPollThread(void* parameter) {
    (void)parameter;
    DeviceHandle = OpenPrinterDevice();
    for (;;) {
        PollCycle();
        Sleep(PollPeriodMs);
    }
}

} // namespace statusservice

#include "statusservice/QueueOperations.h"

#include <optional>

#include "platform/Services.h"
#include "platform/System.h"
#include "statusservice/PrinterIdentity.h"
#include "statusservice/Trace.h"

namespace statusservice {
namespace {

using namespace platform;

// The spooler refuses a port change now and then while busy; it is asked
// again at once, this many times in all.
constexpr int PortChangeAttempts = 21;
constexpr std::uint32_t SpoolerStopPauseMs = 300;
constexpr std::uint32_t SpoolerStartPauseMs = 300;
constexpr std::uint32_t SpoolerSettlePauseMs = 1000;

// "打开打印机失败!" and "获得PRINTER_INFO_2的数组失败!" in code page 936.
constexpr std::string_view OpenFailedText =
    "\xB4\xF2\xBF\xAA\xB4\xF2\xD3\xA1\xBB\xFA\xCA\xA7\xB0\xDC!";
constexpr std::string_view RecordFailedText = "\xBB\xF1\xB5\xC3"
                                              "PRINTER_INFO_2"
                                              "\xB5\xC4\xCA\xFD\xD7\xE9\xCA\xA7\xB0\xDC!";

PrinterHandle OpenQueueHandle() {
    PrinterDefaults defaults;
    defaults.desiredAccess = PrinterAllAccess;
    Outcome<PrinterHandle> opened = OpenPrinterW(QueueName, &defaults);
    if (!opened) {
        Trace(" Open Printer Error :GetLastError() returns: 0x%x\n", opened.error);
        TraceToStandardOutput(OpenFailedText);
        return {};
    }
    return std::move(opened.value);
}

std::optional<PrinterInfo2> ReadQueueRecord(const PrinterHandle& queue) {
    Outcome<PrinterInfo2> record = GetPrinterW(queue);
    if (!record) {
        Trace("%s", std::string(RecordFailedText).c_str());
        return std::nullopt;
    }
    return std::move(record.value);
}

bool WriteQueueRecord(const PrinterHandle& queue, const PrinterInfo2& record) {
    for (int attempt = 0; attempt < PortChangeAttempts; ++attempt)
        if (SetPrinterW(queue, record))
            return true;
    return false;
}

void StopSpooler() {
    Outcome<ScHandle> manager = OpenSCManagerW(ScManagerAllAccess);
    if (!manager)
        return;
    if (Outcome<ScHandle> spooler = OpenServiceW(manager.value, u"Spooler", ServiceAllAccess))
        ControlService(spooler.value, ServiceControlStop);
    manager.value.Reset();
    Sleep(SpoolerStopPauseMs);
}

void StartSpooler() {
    Outcome<ScHandle> manager = OpenSCManagerW(ScManagerAllAccess);
    if (!manager)
        return;
    if (Outcome<ScHandle> spooler = OpenServiceW(manager.value, u"Spooler", ServiceAllAccess))
        StartServiceW(spooler.value);
    manager.value.Reset();
    Sleep(SpoolerStartPauseMs);
    Sleep(SpoolerSettlePauseMs);
}

} // namespace

PrinterHandle OpenQueue() {
    PrinterHandle queue = OpenQueueHandle();
    if (!queue || !ReadQueueRecord(queue))
        return {};
    return queue;
}

std::u16string GetQueuePort() {
    Trace("GetPrinterHandle");
    PrinterHandle queue = OpenQueueHandle();
    if (!queue)
        return {};
    std::optional<PrinterInfo2> record = ReadQueueRecord(queue);
    return record ? record->portName : std::u16string();
}

void SetQueuePort(std::u16string portName) {
    PrinterHandle queue = OpenQueueHandle();
    if (!queue)
        return;
    std::optional<PrinterInfo2> record = ReadQueueRecord(queue);
    if (!record)
        return;
    record->portName = std::move(portName);
    if (!WriteQueueRecord(queue, *record))
        return;
    StopSpooler();
    StartSpooler();
}

void SetQueueState(std::uint32_t control, std::uint32_t statusWord) {
    PrinterHandle queue = OpenQueue();
    if (!queue)
        return;
    SetPrinterW(queue, control);
    SetPrinterW(queue, PrinterControlSetStatus, statusWord);
}

} // namespace statusservice

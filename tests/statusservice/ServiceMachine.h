// A simulated machine with the queue "Varnoquill" on USB001 and helpers to
// attach printers and other USB devices.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Devices.h"
#include "platform/Spooler.h"
#include "platform/sim/SimDevices.h"
#include "platform/sim/SimMachine.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimSystem.h"
#include "platform/sim/SimThreads.h"
#include "statusservice/ServiceState.h"

namespace statusservice::testing {

namespace sim = platform::sim;

inline const std::string DeviceClassesKey =
    "SYSTEM\\ControlSet001\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\";
inline const std::string UsbPortsKey =
    "SYSTEM\\ControlSet001\\Control\\Print\\Monitors\\USB Monitor\\Ports\\";

inline std::u16string Wide(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

inline std::string PrinterPath(const std::string& serial,
                               const std::string& ids = "VID_0483&PID_5741") {
    return "\\\\?\\USB#" + ids + "#" + serial + "#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
}

inline std::string PrinterInstanceId(const std::string& serial) {
    return "USB\\VID_0483&PID_5741\\" + serial;
}

inline std::string DeviceParametersKey(const std::string& serial,
                                       const std::string& ids = "VID_0483&PID_5741") {
    return DeviceClassesKey + "##?#USB#" + ids + "#" + serial +
           "#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\\#\\Device Parameters";
}

inline sim::SimDevice UsbDevice(const std::string& instanceId, const std::string& path) {
    sim::SimDevice device;
    device.instanceId = Wide(instanceId);
    device.interfaces = {{platform::GuidDevinterfaceUsbDevice, Wide(path)}};
    return device;
}

inline sim::SimDevice PrinterDevice(const std::string& serial) {
    return UsbDevice(PrinterInstanceId(serial), PrinterPath(serial));
}

inline const std::string MousePath =
    "\\\\?\\USB#VID_046D&PID_C077#5&1a2b3c&0&2#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
inline sim::SimDevice MouseDevice() {
    return UsbDevice("USB\\VID_046D&PID_C077\\5&1a2b3c&0&2", MousePath);
}

// A status report whose status byte (the fourth) is statusByte.
inline sim::ScriptedRead Report(std::uint8_t statusByte) {
    return {{0x1B, 0x02, 0x00, statusByte, 0x00}};
}

class CServiceMachineTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::ResetMachine();
        ResetServiceState();
        for (const char* port : {"USB001", "USB002", "LPT1:"})
            sim::AddPort({Wide(port), u"USB Monitor", {}, 0});
        platform::PrinterInfo2 queue;
        queue.printerName = u"Varnoquill";
        queue.portName = u"USB001";
        queue.driverName = u"Varnoquill";
        sim::AddQueue(queue);
    }

    void TearDown() override {
        sim::ResetMachine();
        ResetServiceState();
    }

    // Registers the printer's print interface and records it under a port;
    // it is plugged in separately.
    void RecordPrinter(const std::string& serial, const std::string& port,
                       const std::string& description = "Varnoquill") {
        sim::SetRegistryString(DeviceParametersKey(serial), "Port Description", description);
        sim::SetRegistryString(UsbPortsKey + port, "Device Id", PrinterInstanceId(serial));
    }

    void AttachPrinter(const std::string& serial, const std::string& port) {
        RecordPrinter(serial, port);
        sim::PlugDevice(PrinterDevice(serial));
    }

    static sim::SimQueueState Queue() { return sim::QueueState(u"Varnoquill").value(); }

    // Level-0 SetPrinterW calls as (command, status word).
    static std::vector<std::pair<std::uint32_t, std::uint32_t>> QueueControls() {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> controls;
        for (const sim::SpoolerCall& call : sim::SpoolerCalls())
            if (call.operation == "SetPrinterW" && call.level == 0)
                controls.emplace_back(call.command, call.statusWord);
        return controls;
    }

    static std::size_t PortChanges() {
        auto calls = sim::SpoolerCalls();
        return std::count_if(calls.begin(), calls.end(), [](const sim::SpoolerCall& c) {
            return c.operation == "SetPrinterW" && c.level == 2;
        });
    }

    static std::size_t TraceCount(const std::string& text) {
        auto traces = sim::DebugOutput();
        return std::count(traces.begin(), traces.end(), text);
    }
};

} // namespace statusservice::testing

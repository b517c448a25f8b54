// The print spooler client (winspool). Each call keeps the meaning and error
// codes of the Win32 call it is named after; buffers sized in two steps on
// Windows are sized inside the platform.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Error.h"
#include "platform/Handle.h"

namespace platform {

constexpr std::uint32_t PrinterAllAccess = 0xF000C;
constexpr std::uint32_t PrinterAccessUse = 0x8;
constexpr std::uint32_t PrinterAccessAdminister = 0x4;

// Level-0 SetPrinterW commands.
constexpr std::uint32_t PrinterControlPause = 1;
constexpr std::uint32_t PrinterControlResume = 2;
constexpr std::uint32_t PrinterControlPurge = 3;
constexpr std::uint32_t PrinterControlSetStatus = 4;

// Queue status words.
constexpr std::uint32_t PrinterStatusPaused = 0x1;
constexpr std::uint32_t PrinterStatusPaperOut = 0x10;
constexpr std::uint32_t PrinterStatusOffline = 0x80;
constexpr std::uint32_t PrinterStatusDoorOpen = 0x400000;

// PRINTER_INFO_2 without the device mode and security descriptor, which the
// system never reads or sets.
struct PrinterInfo2 {
    std::u16string serverName;
    std::u16string printerName;
    std::u16string shareName;
    std::u16string portName;
    std::u16string driverName;
    std::u16string comment;
    std::u16string location;
    std::u16string sepFile;
    std::u16string printProcessor;
    std::u16string datatype;
    std::u16string parameters;
    std::uint32_t attributes = 0;
    std::uint32_t priority = 0;
    std::uint32_t defaultPriority = 0;
    std::uint32_t startTime = 0;
    std::uint32_t untilTime = 0;
    std::uint32_t status = 0;
    std::uint32_t jobs = 0;
    std::uint32_t averagePpm = 0;

    friend bool operator==(const PrinterInfo2&, const PrinterInfo2&) = default;
};

// PRINTER_DEFAULTSW with no device mode; an empty datatype is passed as none.
struct PrinterDefaults {
    std::u16string datatype;
    std::uint32_t desiredAccess = 0;
};

struct PortInfo2 {
    std::u16string portName;
    std::u16string monitorName;
    std::u16string description;
    std::uint32_t portType = 0;

    friend bool operator==(const PortInfo2&, const PortInfo2&) = default;
};

// DRIVER_INFO_3W; dependentFiles is the multi-string as a list.
struct DriverInfo3 {
    std::uint32_t version = 3;
    std::u16string name;
    std::u16string environment;
    std::u16string driverPath;
    std::u16string dataFile;
    std::u16string configFile;
    std::u16string helpFile;
    std::vector<std::u16string> dependentFiles;
    std::u16string monitorName;
    std::u16string defaultDataType;

    friend bool operator==(const DriverInfo3&, const DriverInfo3&) = default;
};

struct PrinterTraits {
    static Status Close(RawHandle raw); // ClosePrinter
};
using PrinterHandle = ScopedHandle<PrinterTraits>;

Outcome<PrinterHandle> OpenPrinterW(std::u16string_view printerName,
                                    const PrinterDefaults* defaults);
// Level 2.
Outcome<PrinterInfo2> GetPrinterW(const PrinterHandle& printer);
// Level 2, command 0.
Status SetPrinterW(const PrinterHandle& printer, const PrinterInfo2& info);
// Level 0: a PrinterControl* command; for PrinterControlSetStatus the status
// word travels in place of the data pointer, as on Windows.
Status SetPrinterW(const PrinterHandle& printer, std::uint32_t command,
                   std::uint32_t statusWord = 0);
// Level 2, local machine.
Outcome<std::vector<PortInfo2>> EnumPortsW();
Outcome<std::u16string> GetPrinterDriverDirectoryW(std::u16string_view environment);
// Level 3, local machine.
Status AddPrinterDriverW(const DriverInfo3& driver);
Status DeletePrinterDriverW(std::u16string_view environment, std::u16string_view driverName);
// Level 2, local machine.
Outcome<PrinterHandle> AddPrinterW(const PrinterInfo2& info);
Status DeletePrinter(const PrinterHandle& printer);
// The spooler client's default-printer operation, export number 204.
Status SetDefaultPrinterByOrdinal(std::u16string_view printerName);

} // namespace platform

#include "platform/Spooler.h"

#include <windows.h>
#include <winspool.h>

#include "platform/win32/Win32Buffer.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"

namespace platform {
namespace {

using win32::FromWide;
using win32::LastError;
using win32::OrNullMutable;
using win32::ToWide;

// PRINTER_INFO_2W points into this record's strings while a call uses it.
struct WidePrinterInfo2 {
    explicit WidePrinterInfo2(const PrinterInfo2& info)
        : server(ToWide(info.serverName)), printer(ToWide(info.printerName)),
          share(ToWide(info.shareName)), port(ToWide(info.portName)),
          driver(ToWide(info.driverName)), comment(ToWide(info.comment)),
          location(ToWide(info.location)), sepFile(ToWide(info.sepFile)),
          processor(ToWide(info.printProcessor)), datatype(ToWide(info.datatype)),
          parameters(ToWide(info.parameters)) {
        raw.pServerName = OrNullMutable(server);
        raw.pPrinterName = OrNullMutable(printer);
        raw.pShareName = OrNullMutable(share);
        raw.pPortName = OrNullMutable(port);
        raw.pDriverName = OrNullMutable(driver);
        raw.pComment = OrNullMutable(comment);
        raw.pLocation = OrNullMutable(location);
        raw.pSepFile = OrNullMutable(sepFile);
        raw.pPrintProcessor = OrNullMutable(processor);
        raw.pDatatype = OrNullMutable(datatype);
        raw.pParameters = OrNullMutable(parameters);
        raw.Attributes = info.attributes;
        raw.Priority = info.priority;
        raw.DefaultPriority = info.defaultPriority;
        raw.StartTime = info.startTime;
        raw.UntilTime = info.untilTime;
        raw.Status = info.status;
        raw.cJobs = info.jobs;
        raw.AveragePPM = info.averagePpm;
    }

    std::wstring server, printer, share, port, driver, comment, location, sepFile, processor,
        datatype, parameters;
    PRINTER_INFO_2W raw{};
};

PrinterInfo2 FromRaw(const PRINTER_INFO_2W& raw) {
    PrinterInfo2 info;
    info.serverName = FromWide(raw.pServerName);
    info.printerName = FromWide(raw.pPrinterName);
    info.shareName = FromWide(raw.pShareName);
    info.portName = FromWide(raw.pPortName);
    info.driverName = FromWide(raw.pDriverName);
    info.comment = FromWide(raw.pComment);
    info.location = FromWide(raw.pLocation);
    info.sepFile = FromWide(raw.pSepFile);
    info.printProcessor = FromWide(raw.pPrintProcessor);
    info.datatype = FromWide(raw.pDatatype);
    info.parameters = FromWide(raw.pParameters);
    info.attributes = raw.Attributes;
    info.priority = raw.Priority;
    info.defaultPriority = raw.DefaultPriority;
    info.startTime = raw.StartTime;
    info.untilTime = raw.UntilTime;
    info.status = raw.Status;
    info.jobs = raw.cJobs;
    info.averagePpm = raw.AveragePPM;
    return info;
}

PortInfo2 FromRaw(const PORT_INFO_2W& raw) {
    return PortInfo2{FromWide(raw.pPortName), FromWide(raw.pMonitorName),
                     FromWide(raw.pDescription), raw.fPortType};
}

// A size query fails by design; any other failure is the call's answer.
bool SizeQueryFailed() {
    return ::GetLastError() != ERROR_INSUFFICIENT_BUFFER;
}

} // namespace

Status PrinterTraits::Close(RawHandle raw) {
    return win32::StatusOf(::ClosePrinter(raw));
}

Outcome<PrinterHandle> OpenPrinterW(std::u16string_view printerName,
                                    const PrinterDefaults* defaults) {
    std::wstring name = ToWide(printerName);
    std::wstring datatype;
    PRINTER_DEFAULTSW rawDefaults{};
    if (defaults) {
        datatype = ToWide(defaults->datatype);
        rawDefaults.pDatatype = OrNullMutable(datatype);
        rawDefaults.DesiredAccess = defaults->desiredAccess;
    }
    HANDLE printer = nullptr;
    if (!::OpenPrinterW(name.data(), &printer, defaults ? &rawDefaults : nullptr))
        return Outcome<PrinterHandle>::Failure(LastError());
    return Outcome<PrinterHandle>(PrinterHandle(win32::Normalise(printer)));
}

Outcome<PrinterInfo2> GetPrinterW(const PrinterHandle& printer) {
    DWORD needed = 0;
    if (!::GetPrinterW(printer.Get(), 2, nullptr, 0, &needed) && SizeQueryFailed())
        return Outcome<PrinterInfo2>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    if (!::GetPrinterW(printer.Get(), 2, buffer.Bytes(), buffer.Size(), &needed))
        return Outcome<PrinterInfo2>::Failure(LastError());
    return Outcome<PrinterInfo2>(FromRaw(*buffer.As<PRINTER_INFO_2W>()));
}

Status SetPrinterW(const PrinterHandle& printer, const PrinterInfo2& info) {
    WidePrinterInfo2 wide(info);
    return win32::StatusOf(::SetPrinterW(printer.Get(), 2, reinterpret_cast<LPBYTE>(&wide.raw), 0));
}

Status SetPrinterW(const PrinterHandle& printer, std::uint32_t command, std::uint32_t statusWord) {
    // The status command carries its word where the data pointer would be.
    auto* data = command == PrinterControlSetStatus
                     ? reinterpret_cast<LPBYTE>(static_cast<ULONG_PTR>(statusWord))
                     : nullptr;
    return win32::StatusOf(::SetPrinterW(printer.Get(), 0, data, command));
}

Outcome<std::vector<PortInfo2>> EnumPortsW() {
    DWORD needed = 0;
    DWORD returned = 0;
    if (!::EnumPortsW(nullptr, 2, nullptr, 0, &needed, &returned) && SizeQueryFailed())
        return Outcome<std::vector<PortInfo2>>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    if (!::EnumPortsW(nullptr, 2, buffer.Bytes(), buffer.Size(), &needed, &returned))
        return Outcome<std::vector<PortInfo2>>::Failure(LastError());
    std::vector<PortInfo2> ports;
    const PORT_INFO_2W* raw = buffer.As<PORT_INFO_2W>();
    for (DWORD i = 0; i < returned; ++i)
        ports.push_back(FromRaw(raw[i]));
    return Outcome<std::vector<PortInfo2>>(std::move(ports));
}

Outcome<std::u16string> GetPrinterDriverDirectoryW(std::u16string_view environment) {
    std::wstring env = ToWide(environment);
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryW(nullptr, OrNullMutable(env), 1, nullptr, 0, &needed) &&
        SizeQueryFailed())
        return Outcome<std::u16string>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    if (!::GetPrinterDriverDirectoryW(nullptr, OrNullMutable(env), 1, buffer.Bytes(), buffer.Size(),
                                      &needed))
        return Outcome<std::u16string>::Failure(LastError());
    return Outcome<std::u16string>(FromWide(buffer.As<wchar_t>()));
}

Status AddPrinterDriverW(const DriverInfo3& driver) {
    std::wstring name = ToWide(driver.name), env = ToWide(driver.environment),
                 path = ToWide(driver.driverPath), data = ToWide(driver.dataFile),
                 config = ToWide(driver.configFile), help = ToWide(driver.helpFile),
                 depends = win32::ToMultiString(driver.dependentFiles),
                 monitor = ToWide(driver.monitorName), datatype = ToWide(driver.defaultDataType);
    DRIVER_INFO_3W raw{};
    raw.cVersion = driver.version;
    raw.pName = OrNullMutable(name);
    raw.pEnvironment = OrNullMutable(env);
    raw.pDriverPath = OrNullMutable(path);
    raw.pDataFile = OrNullMutable(data);
    raw.pConfigFile = OrNullMutable(config);
    raw.pHelpFile = OrNullMutable(help);
    raw.pDependentFiles = OrNullMutable(depends);
    raw.pMonitorName = OrNullMutable(monitor);
    raw.pDefaultDataType = OrNullMutable(datatype);
    return win32::StatusOf(::AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&raw)));
}

Status DeletePrinterDriverW(std::u16string_view environment, std::u16string_view driverName) {
    std::wstring env = ToWide(environment);
    std::wstring name = ToWide(driverName);
    return win32::StatusOf(::DeletePrinterDriverW(nullptr, OrNullMutable(env), name.data()));
}

Outcome<PrinterHandle> AddPrinterW(const PrinterInfo2& info) {
    WidePrinterInfo2 wide(info);
    return win32::HandleOutcome<PrinterHandle>(
        ::AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&wide.raw)));
}

Status DeletePrinter(const PrinterHandle& printer) {
    return win32::StatusOf(::DeletePrinter(printer.Get()));
}

Status SetDefaultPrinterByOrdinal(std::u16string_view printerName) {
    using DefaultPrinterFunction = BOOL(WINAPI*)(LPCWSTR);
    HMODULE spooler = ::GetModuleHandleW(L"winspool.drv");
    if (!spooler)
        return Failure(LastError());
    FARPROC entry = ::GetProcAddress(spooler, MAKEINTRESOURCEA(204));
    if (!entry)
        return Failure(LastError());
    auto setDefault = reinterpret_cast<DefaultPrinterFunction>(reinterpret_cast<void*>(entry));
    std::wstring name = ToWide(printerName);
    return win32::StatusOf(setDefault(name.c_str()));
}

} // namespace platform

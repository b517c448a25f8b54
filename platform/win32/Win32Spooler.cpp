#include "platform/Spooler.h"

#include <windows.h>
#include <winspool.h>

#include "platform/win32/Win32Buffer.h"
#include "platform/win32/Win32Error.h"
#include "platform/win32/Win32Strings.h"
#include "platform/win32/Win32SystemLibrary.h"

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
        // Passed even when empty, for the spooler to refuse with its own error:
        // Wine's winspool reads a missing port name through a null pointer.
        raw.pPortName = port.data();
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

// An export of the spooler client, bound from the system folder on first use.
template <class Function> class CSpoolerFunction : public win32::CSystemFunction<Function> {
  public:
    explicit CSpoolerFunction(const char* exportName)
        : win32::CSystemFunction<Function>(L"winspool.drv", exportName) {}
};

// A size query fails by design; any other failure is the call's answer.
bool SizeQueryFailed() {
    return ::GetLastError() != ERROR_INSUFFICIENT_BUFFER;
}

} // namespace

Status PrinterTraits::Close(RawHandle raw) {
    static const CSpoolerFunction<decltype(&::ClosePrinter)> closePrinter("ClosePrinter");
    if (!closePrinter)
        return Failure(closePrinter.Error());
    return win32::StatusOf(closePrinter.Get()(raw));
}

Outcome<PrinterHandle> OpenPrinterW(std::u16string_view printerName,
                                    const PrinterDefaults* defaults) {
    static const CSpoolerFunction<decltype(&::OpenPrinterW)> openPrinterW("OpenPrinterW");
    if (!openPrinterW)
        return Outcome<PrinterHandle>::Failure(openPrinterW.Error());
    std::wstring name = ToWide(printerName);
    std::wstring datatype;
    PRINTER_DEFAULTSW rawDefaults{};
    if (defaults) {
        datatype = ToWide(defaults->datatype);
        rawDefaults.pDatatype = OrNullMutable(datatype);
        rawDefaults.DesiredAccess = defaults->desiredAccess;
    }
    HANDLE printer = nullptr;
    if (!openPrinterW.Get()(name.data(), &printer, defaults ? &rawDefaults : nullptr))
        return Outcome<PrinterHandle>::Failure(LastError());
    return Outcome<PrinterHandle>(PrinterHandle(win32::Normalise(printer)));
}

Outcome<PrinterInfo2> GetPrinterW(const PrinterHandle& printer) {
    static const CSpoolerFunction<decltype(&::GetPrinterW)> getPrinterW("GetPrinterW");
    if (!getPrinterW)
        return Outcome<PrinterInfo2>::Failure(getPrinterW.Error());
    DWORD needed = 0;
    if (!getPrinterW.Get()(printer.Get(), 2, nullptr, 0, &needed) && SizeQueryFailed())
        return Outcome<PrinterInfo2>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    if (!getPrinterW.Get()(printer.Get(), 2, buffer.Bytes(), buffer.Size(), &needed))
        return Outcome<PrinterInfo2>::Failure(LastError());
    return Outcome<PrinterInfo2>(FromRaw(*buffer.As<PRINTER_INFO_2W>()));
}

Status SetPrinterW(const PrinterHandle& printer, const PrinterInfo2& info) {
    static const CSpoolerFunction<decltype(&::SetPrinterW)> setPrinterW("SetPrinterW");
    if (!setPrinterW)
        return Failure(setPrinterW.Error());
    WidePrinterInfo2 wide(info);
    return win32::StatusOf(
        setPrinterW.Get()(printer.Get(), 2, reinterpret_cast<LPBYTE>(&wide.raw), 0));
}

Status SetPrinterW(const PrinterHandle& printer, std::uint32_t command, std::uint32_t statusWord) {
    static const CSpoolerFunction<decltype(&::SetPrinterW)> setPrinterW("SetPrinterW");
    if (!setPrinterW)
        return Failure(setPrinterW.Error());
    // The status command carries its word where the data pointer would be.
    auto* data = command == PrinterControlSetStatus
                     ? reinterpret_cast<LPBYTE>(static_cast<ULONG_PTR>(statusWord))
                     : nullptr;
    return win32::StatusOf(setPrinterW.Get()(printer.Get(), 0, data, command));
}

Outcome<std::vector<PortInfo2>> EnumPortsW() {
    static const CSpoolerFunction<decltype(&::EnumPortsW)> enumPortsW("EnumPortsW");
    if (!enumPortsW)
        return Outcome<std::vector<PortInfo2>>::Failure(enumPortsW.Error());
    DWORD needed = 0;
    DWORD returned = 0;
    if (!enumPortsW.Get()(nullptr, 2, nullptr, 0, &needed, &returned) && SizeQueryFailed())
        return Outcome<std::vector<PortInfo2>>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    if (!enumPortsW.Get()(nullptr, 2, buffer.Bytes(), buffer.Size(), &needed, &returned))
        return Outcome<std::vector<PortInfo2>>::Failure(LastError());
    std::vector<PortInfo2> ports;
    const PORT_INFO_2W* raw = buffer.As<PORT_INFO_2W>();
    for (DWORD i = 0; i < returned; ++i)
        ports.push_back(FromRaw(raw[i]));
    return Outcome<std::vector<PortInfo2>>(std::move(ports));
}

Outcome<std::u16string> GetPrinterDriverDirectoryW(std::u16string_view environment) {
    static const CSpoolerFunction<decltype(&::GetPrinterDriverDirectoryW)>
        getPrinterDriverDirectoryW("GetPrinterDriverDirectoryW");
    if (!getPrinterDriverDirectoryW)
        return Outcome<std::u16string>::Failure(getPrinterDriverDirectoryW.Error());
    std::wstring env = ToWide(environment);
    DWORD needed = 0;
    if (!getPrinterDriverDirectoryW.Get()(nullptr, OrNullMutable(env), 1, nullptr, 0, &needed) &&
        SizeQueryFailed())
        return Outcome<std::u16string>::Failure(LastError());
    win32::CRecordBuffer buffer(needed);
    if (!getPrinterDriverDirectoryW.Get()(nullptr, OrNullMutable(env), 1, buffer.Bytes(),
                                          buffer.Size(), &needed))
        return Outcome<std::u16string>::Failure(LastError());
    return Outcome<std::u16string>(FromWide(buffer.As<wchar_t>()));
}

Status AddPrinterDriverW(const DriverInfo3& driver) {
    static const CSpoolerFunction<decltype(&::AddPrinterDriverW)> addPrinterDriverW(
        "AddPrinterDriverW");
    if (!addPrinterDriverW)
        return Failure(addPrinterDriverW.Error());
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
    return win32::StatusOf(addPrinterDriverW.Get()(nullptr, 3, reinterpret_cast<LPBYTE>(&raw)));
}

Status DeletePrinterDriverW(std::u16string_view environment, std::u16string_view driverName) {
    static const CSpoolerFunction<decltype(&::DeletePrinterDriverW)> deletePrinterDriverW(
        "DeletePrinterDriverW");
    if (!deletePrinterDriverW)
        return Failure(deletePrinterDriverW.Error());
    std::wstring env = ToWide(environment);
    std::wstring name = ToWide(driverName);
    return win32::StatusOf(deletePrinterDriverW.Get()(nullptr, OrNullMutable(env), name.data()));
}

Outcome<PrinterHandle> AddPrinterW(const PrinterInfo2& info) {
    static const CSpoolerFunction<decltype(&::AddPrinterW)> addPrinterW("AddPrinterW");
    if (!addPrinterW)
        return Outcome<PrinterHandle>::Failure(addPrinterW.Error());
    WidePrinterInfo2 wide(info);
    return win32::HandleOutcome<PrinterHandle>(
        addPrinterW.Get()(nullptr, 2, reinterpret_cast<LPBYTE>(&wide.raw)));
}

Status DeletePrinter(const PrinterHandle& printer) {
    static const CSpoolerFunction<decltype(&::DeletePrinter)> deletePrinter("DeletePrinter");
    if (!deletePrinter)
        return Failure(deletePrinter.Error());
    return win32::StatusOf(deletePrinter.Get()(printer.Get()));
}

Status SetDefaultPrinterByOrdinal(std::u16string_view printerName) {
    using DefaultPrinterFunction = BOOL(WINAPI*)(LPCWSTR);
    static const CSpoolerFunction<DefaultPrinterFunction> setDefault(MAKEINTRESOURCEA(204));
    if (!setDefault)
        return Failure(setDefault.Error());
    std::wstring name = ToWide(printerName);
    return win32::StatusOf(setDefault.Get()(name.c_str()));
}

} // namespace platform

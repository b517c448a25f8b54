#include "platform/sim/SimSpooler.h"

#include <filesystem>
#include <map>
#include <mutex>

#include "platform/System.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimText.h"
#include "platform/sim/SimThreads.h"

namespace platform::sim {
namespace {

constexpr std::uint32_t DeleteAccess = 0x10000;

struct SimQueue {
    PrinterInfo2 info;
    bool paused = false;
    std::uint32_t statusWord = 0;
    std::uint32_t grantable = 0xFFFFFFFF;
};

struct PrinterObject {
    std::u16string name;
    std::uint32_t access = 0;
    std::uint64_t generation = 0;
};

struct SpoolerState {
    std::mutex lock;
    std::map<std::u16string, SimQueue> queues; // by folded name
    std::vector<PortInfo2> ports;
    std::map<std::u16string, std::vector<DriverInfo3>> drivers; // by folded environment
    std::map<std::u16string, std::u16string> directories;       // by folded environment
    std::u16string defaultPrinter;
    bool running = true;
    std::uint32_t restarts = 0;
    std::uint64_t generation = 1;
    std::vector<SpoolerCall> calls;
};

SpoolerState& State() {
    static SpoolerState* state = new SpoolerState;
    return *state;
}

std::u16string Key(std::u16string_view name) {
    return FoldedName<char16_t>(name);
}

// No environment means the machine's own, as the spooler takes a null one.
std::u16string EnvironmentKey(std::u16string_view environment) {
    if (!environment.empty())
        return Key(environment);
    switch (GetNativeSystemInfo().processorArchitecture) {
    case ProcessorArchitectureAmd64:
        return Key(u"Windows x64");
    case ProcessorArchitectureIa64:
        return Key(u"Windows IA64");
    default:
        return Key(u"Windows NT x86");
    }
}

// The local port monitor's spooler object, which a caller opens to talk to
// the monitor (or to test the right to administer the server); it is no
// queue, so queue calls on its handle fail.
bool IsLocalPortMonitor(std::u16string_view name) {
    return SameName(name, u",XcvMonitor Local Port");
}

SimQueue* FindLocked(std::u16string_view name) {
    auto it = State().queues.find(Key(name));
    return it == State().queues.end() ? nullptr : &it->second;
}

PrinterInfo2 Reported(const SimQueue& q) {
    PrinterInfo2 info = q.info;
    info.status = q.statusWord | (q.paused ? PrinterStatusPaused : 0);
    return info;
}

bool PortKnownLocked(std::u16string_view port) {
    for (const PortInfo2& p : State().ports)
        if (SameName(p.portName, port))
            return true;
    return false;
}

bool DriverKnownLocked(std::u16string_view name) {
    for (auto& [env, list] : State().drivers)
        for (const DriverInfo3& d : list)
            if (SameName(d.name, name))
                return true;
    return false;
}

SpoolerCall MakeCall(std::string operation, std::u16string printer = {}, std::uint32_t level = 0,
                     std::uint32_t command = 0, std::uint32_t statusWord = 0) {
    SpoolerCall call;
    call.operation = std::move(operation);
    call.printer = std::move(printer);
    call.level = level;
    call.command = command;
    call.statusWord = statusWord;
    return call;
}

WinError Record(SpoolerCall call, WinError result) {
    call.result = result;
    call.time = Now();
    State().calls.push_back(std::move(call));
    return result;
}

// The first checks every call makes: injected fault, spooler up.
WinError Entry(std::string_view operation) {
    if (WinError e = TakeFault(operation))
        return e;
    return State().running ? ErrorSuccess : RpcServerUnavailable;
}

// The queue behind a handle, or the error a stale or deleted handle gives.
WinError Resolve(const PrinterHandle& printer, SimQueue** queue) {
    auto* object = static_cast<PrinterObject*>(printer.Get());
    if (!object || object->generation != State().generation)
        return ErrorInvalidHandle;
    *queue = FindLocked(object->name);
    return *queue ? ErrorSuccess : ErrorInvalidHandle;
}

std::uint32_t AccessOf(const PrinterHandle& printer) {
    return static_cast<PrinterObject*>(printer.Get())->access;
}

// What both levels of SetPrinterW check first: the handle still names a
// queue, and it was opened with the right to administer it.
WinError EnterSetPrinter(const PrinterHandle& printer, SpoolerCall& call, SimQueue** queue) {
    WinError e = Entry("SetPrinterW");
    if (!e)
        e = Resolve(printer, queue);
    if (*queue)
        call.printer = (*queue)->info.printerName;
    if (!e && !(AccessOf(printer) & PrinterAccessAdminister))
        e = ErrorAccessDenied;
    return e;
}

std::u16string FileNameOf(std::u16string_view path) {
    std::size_t slash = path.find_last_of(u"\\/");
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

// The spooler takes the driver's files from where the record names them
// (dependent files beside the driver file) and keeps its own copies in the
// version folder of the driver directory; the originals stay. Nothing is
// copied unless every file is there.
WinError CopyIntoVersionFolder(const DriverInfo3& driver, std::u16string_view directory) {
    std::u16string_view driverPath = driver.driverPath;
    std::u16string sourceFolder(
        driverPath.substr(0, driverPath.size() - FileNameOf(driverPath).size()));
    std::vector<std::u16string> sources;
    for (const std::u16string* main :
         {&driver.driverPath, &driver.dataFile, &driver.configFile, &driver.helpFile})
        if (!main->empty())
            sources.push_back(*main);
    for (const std::u16string& name : driver.dependentFiles)
        sources.push_back(sourceFolder + name);
    std::error_code ec;
    for (const std::u16string& source : sources)
        if (!std::filesystem::is_regular_file(HostPath(source), ec))
            return ErrorFileNotFound;
    std::u16string version(directory);
    version += u"\\";
    version += static_cast<char16_t>(u'0' + driver.version % 10);
    std::filesystem::create_directories(HostPath(version), ec);
    for (const std::u16string& source : sources) {
        std::filesystem::copy_file(HostPath(source), HostPath(version + u"\\" + FileNameOf(source)),
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec)
            return ErrorAccessDenied;
    }
    return ErrorSuccess;
}

void ResetLocked(SpoolerState& s) {
    s.queues.clear();
    s.ports.clear();
    // The local ports every Windows installation has.
    for (const char16_t* name :
         {u"LPT1:", u"LPT2:", u"LPT3:", u"COM1:", u"COM2:", u"COM3:", u"COM4:", u"FILE:"})
        s.ports.push_back({name, u"Local Port", u"Local Port", 0});
    s.drivers.clear();
    s.directories.clear();
    s.directories[Key(u"Windows x64")] = u"C:\\Windows\\System32\\spool\\drivers\\x64";
    s.directories[Key(u"Windows NT x86")] = u"C:\\Windows\\System32\\spool\\drivers\\W32X86";
    s.directories[Key(u"Windows IA64")] = u"C:\\Windows\\System32\\spool\\drivers\\IA64";
    s.defaultPrinter.clear();
    s.running = true;
    s.restarts = 0;
    ++s.generation;
    s.calls.clear();
}

} // namespace

void ResetSpooler() {
    std::lock_guard guard(State().lock);
    ResetLocked(State());
}

void AddQueue(const PrinterInfo2& info) {
    std::lock_guard guard(State().lock);
    SimQueue q;
    q.info = info;
    q.statusWord = info.status & ~PrinterStatusPaused;
    q.paused = (info.status & PrinterStatusPaused) != 0;
    State().queues[Key(info.printerName)] = q;
}

void SetQueueAccess(std::u16string_view printerName, std::uint32_t grantable) {
    std::lock_guard guard(State().lock);
    if (SimQueue* q = FindLocked(printerName))
        q->grantable = grantable;
}

std::optional<SimQueueState> QueueState(std::u16string_view printerName) {
    std::lock_guard guard(State().lock);
    SimQueue* q = FindLocked(printerName);
    if (!q)
        return std::nullopt;
    return SimQueueState{q->info.portName, q->paused, q->statusWord};
}

std::optional<PrinterInfo2> QueueRecord(std::u16string_view printerName) {
    std::lock_guard guard(State().lock);
    SimQueue* q = FindLocked(printerName);
    if (!q)
        return std::nullopt;
    return Reported(*q);
}

std::vector<PrinterInfo2> AllQueues() {
    std::lock_guard guard(State().lock);
    std::vector<PrinterInfo2> all;
    for (const auto& [key, queue] : State().queues)
        all.push_back(Reported(queue));
    return all;
}

std::vector<PortInfo2> AllPorts() {
    std::lock_guard guard(State().lock);
    return State().ports;
}

std::map<std::u16string, std::vector<DriverInfo3>> AllDrivers() {
    std::lock_guard guard(State().lock);
    std::map<std::u16string, std::vector<DriverInfo3>> all;
    for (const auto& [environment, list] : State().drivers)
        if (!list.empty())
            all[environment] = list;
    return all;
}

void AddPort(const PortInfo2& port) {
    std::lock_guard guard(State().lock);
    State().ports.push_back(port);
}

void AddDriver(const DriverInfo3& driver) {
    std::lock_guard guard(State().lock);
    State().drivers[EnvironmentKey(driver.environment)].push_back(driver);
}

std::vector<DriverInfo3> Drivers(std::u16string_view environment) {
    std::lock_guard guard(State().lock);
    auto it = State().drivers.find(EnvironmentKey(environment));
    return it == State().drivers.end() ? std::vector<DriverInfo3>{} : it->second;
}

void SetDriverDirectory(std::u16string_view environment, std::u16string directory) {
    std::lock_guard guard(State().lock);
    State().directories[Key(environment)] = std::move(directory);
}

std::u16string DefaultPrinter() {
    std::lock_guard guard(State().lock);
    return State().defaultPrinter;
}

void SetSpoolerRunning(bool running) {
    std::lock_guard guard(State().lock);
    SpoolerState& s = State();
    if (running && !s.running) {
        ++s.restarts;
        ++s.generation;
    }
    s.running = running;
}

bool SpoolerRunning() {
    std::lock_guard guard(State().lock);
    return State().running;
}

std::uint32_t SpoolerRestarts() {
    std::lock_guard guard(State().lock);
    return State().restarts;
}

std::vector<SpoolerCall> SpoolerCalls() {
    std::lock_guard guard(State().lock);
    return State().calls;
}

void ClearSpoolerCalls() {
    std::lock_guard guard(State().lock);
    State().calls.clear();
}

} // namespace platform::sim

namespace platform {

using sim::State;

Status PrinterTraits::Close(RawHandle raw) {
    std::lock_guard guard(State().lock);
    auto* object = static_cast<sim::PrinterObject*>(raw);
    WinError e = sim::TakeFault("ClosePrinter");
    sim::Record(sim::MakeCall("ClosePrinter", object->name), e);
    delete object;
    return Failure(e);
}

Outcome<PrinterHandle> OpenPrinterW(std::u16string_view printerName,
                                    const PrinterDefaults* defaults) {
    std::lock_guard guard(State().lock);
    std::uint32_t access =
        defaults && defaults->desiredAccess ? defaults->desiredAccess : PrinterAccessUse;
    sim::SpoolerCall call = sim::MakeCall("OpenPrinterW", std::u16string(printerName));
    if (WinError e = sim::Entry("OpenPrinterW"))
        return Outcome<PrinterHandle>::Failure(sim::Record(call, e));
    if (sim::IsLocalPortMonitor(printerName)) {
        sim::Record(call, ErrorSuccess);
        return PrinterHandle(
            new sim::PrinterObject{std::u16string(printerName), access, State().generation});
    }
    sim::SimQueue* q = sim::FindLocked(printerName);
    if (!q)
        return Outcome<PrinterHandle>::Failure(sim::Record(call, ErrorInvalidPrinterName));
    if (access & ~q->grantable)
        return Outcome<PrinterHandle>::Failure(sim::Record(call, ErrorAccessDenied));
    sim::Record(call, ErrorSuccess);
    return PrinterHandle(new sim::PrinterObject{q->info.printerName, access, State().generation});
}

Outcome<PrinterInfo2> GetPrinterW(const PrinterHandle& printer) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("GetPrinterW", {}, 2);
    sim::SimQueue* q = nullptr;
    WinError e = sim::Entry("GetPrinterW");
    if (!e)
        e = sim::Resolve(printer, &q);
    if (e)
        return Outcome<PrinterInfo2>::Failure(sim::Record(call, e));
    call.printer = q->info.printerName;
    sim::Record(call, ErrorSuccess);
    return sim::Reported(*q);
}

Status SetPrinterW(const PrinterHandle& printer, const PrinterInfo2& info) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("SetPrinterW", {}, 2);
    call.portName = info.portName;
    sim::SimQueue* q = nullptr;
    WinError e = sim::EnterSetPrinter(printer, call, &q);
    if (!e && !sim::PortKnownLocked(info.portName))
        e = sim::ErrorUnknownPort;
    if (e)
        return Failure(sim::Record(call, e));
    PrinterInfo2 kept = info;
    kept.printerName = q->info.printerName;
    kept.status = q->info.status;
    kept.jobs = q->info.jobs;
    q->info = kept;
    return Status{sim::Record(call, ErrorSuccess)};
}

Status SetPrinterW(const PrinterHandle& printer, std::uint32_t command, std::uint32_t statusWord) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("SetPrinterW", {}, 0, command, statusWord);
    sim::SimQueue* q = nullptr;
    WinError e = sim::EnterSetPrinter(printer, call, &q);
    if (!e) {
        switch (command) {
        case PrinterControlPause:
            q->paused = true;
            break;
        case PrinterControlResume:
            q->paused = false;
            break;
        case PrinterControlPurge:
            break;
        case PrinterControlSetStatus:
            q->statusWord = statusWord;
            break;
        default:
            e = ErrorInvalidParameter;
        }
    }
    return Status{sim::Record(call, e)};
}

Outcome<std::vector<PortInfo2>> EnumPortsW() {
    std::lock_guard guard(State().lock);
    if (WinError e = sim::Entry("EnumPortsW"))
        return Outcome<std::vector<PortInfo2>>::Failure(
            sim::Record(sim::MakeCall("EnumPortsW", {}, 2), e));
    sim::Record(sim::MakeCall("EnumPortsW", {}, 2), ErrorSuccess);
    return State().ports;
}

Outcome<std::u16string> GetPrinterDriverDirectoryW(std::u16string_view environment) {
    std::lock_guard guard(State().lock);
    if (WinError e = sim::Entry("GetPrinterDriverDirectoryW"))
        return Outcome<std::u16string>::Failure(e);
    auto it = State().directories.find(sim::EnvironmentKey(environment));
    if (it == State().directories.end())
        return Outcome<std::u16string>::Failure(ErrorInvalidEnvironment);
    return it->second;
}

Status AddPrinterDriverW(const DriverInfo3& driver) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("AddPrinterDriverW", driver.name, 3);
    if (WinError e = sim::Entry("AddPrinterDriverW"))
        return Failure(sim::Record(call, e));
    auto directory = State().directories.find(sim::EnvironmentKey(driver.environment));
    if (directory == State().directories.end())
        return Failure(sim::Record(call, ErrorInvalidEnvironment));
    if (WinError e = sim::CopyIntoVersionFolder(driver, directory->second))
        return Failure(sim::Record(call, e));
    auto& list = State().drivers[sim::EnvironmentKey(driver.environment)];
    std::erase_if(list, [&](const DriverInfo3& d) { return sim::SameName(d.name, driver.name); });
    list.push_back(driver);
    return Status{sim::Record(call, ErrorSuccess)};
}

Status DeletePrinterDriverW(std::u16string_view environment, std::u16string_view driverName) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("DeletePrinterDriverW", std::u16string(driverName));
    if (WinError e = sim::Entry("DeletePrinterDriverW"))
        return Failure(sim::Record(call, e));
    if (!State().directories.count(sim::EnvironmentKey(environment)))
        return Failure(sim::Record(call, ErrorInvalidEnvironment));
    for (auto& [name, q] : State().queues)
        if (sim::SameName(q.info.driverName, driverName))
            return Failure(sim::Record(call, ErrorPrinterDriverInUse));
    auto& list = State().drivers[sim::EnvironmentKey(environment)];
    auto removed = std::erase_if(
        list, [&](const DriverInfo3& d) { return sim::SameName(d.name, driverName); });
    return Status{sim::Record(call, removed ? ErrorSuccess : ErrorUnknownPrinterDriver)};
}

Outcome<PrinterHandle> AddPrinterW(const PrinterInfo2& info) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("AddPrinterW", info.printerName, 2);
    call.portName = info.portName;
    WinError e = sim::Entry("AddPrinterW");
    if (!e && sim::FindLocked(info.printerName))
        e = ErrorPrinterAlreadyExists;
    if (!e && !sim::DriverKnownLocked(info.driverName))
        e = ErrorUnknownPrinterDriver;
    if (!e && !sim::PortKnownLocked(info.portName))
        e = sim::ErrorUnknownPort;
    if (e)
        return Outcome<PrinterHandle>::Failure(sim::Record(call, e));
    sim::SimQueue q;
    q.info = info;
    q.info.status = 0;
    State().queues[sim::Key(info.printerName)] = q;
    sim::Record(call, ErrorSuccess);
    return PrinterHandle(
        new sim::PrinterObject{info.printerName, PrinterAllAccess, State().generation});
}

Status DeletePrinter(const PrinterHandle& printer) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("DeletePrinter");
    sim::SimQueue* q = nullptr;
    WinError e = sim::Entry("DeletePrinter");
    if (!e)
        e = sim::Resolve(printer, &q);
    if (!e && !(sim::AccessOf(printer) & sim::DeleteAccess))
        e = ErrorAccessDenied;
    if (e)
        return Failure(sim::Record(call, e));
    call.printer = q->info.printerName;
    if (sim::SameName(State().defaultPrinter, q->info.printerName))
        State().defaultPrinter.clear();
    State().queues.erase(sim::Key(q->info.printerName));
    return Status{sim::Record(call, ErrorSuccess)};
}

Status SetDefaultPrinterByOrdinal(std::u16string_view printerName) {
    std::lock_guard guard(State().lock);
    sim::SpoolerCall call = sim::MakeCall("SetDefaultPrinter", std::u16string(printerName));
    WinError e = sim::Entry("SetDefaultPrinter");
    sim::SimQueue* q = e ? nullptr : sim::FindLocked(printerName);
    if (!e && !q)
        e = ErrorInvalidPrinterName;
    if (e)
        return Failure(sim::Record(call, e));
    State().defaultPrinter = q->info.printerName;
    return Status{sim::Record(call, ErrorSuccess)};
}

} // namespace platform

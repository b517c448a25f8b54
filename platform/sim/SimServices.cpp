#include "platform/sim/SimServices.h"

#include <filesystem>

#include <deque>
#include <map>
#include <mutex>

#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimText.h"
#include "platform/sim/SimThreads.h"

namespace platform::sim {
namespace {

constexpr std::uint32_t ServiceDisabled = 4;
const RawHandle StatusHandleToken = reinterpret_cast<RawHandle>(std::uintptr_t{0x5E55});

struct ScObject {
    bool isManager = false;
    std::u16string serviceName;
    std::uint32_t access = 0;
};

struct PendingControl {
    ControlTicket ticket = 0;
    std::uint32_t control = 0;
    std::uint32_t eventType = 0;
    std::vector<std::uint8_t> eventData;
};

struct ServicesState {
    std::mutex lock;
    std::map<std::u16string, SimServiceState> services; // by folded name
    std::map<std::u16string, std::uint32_t> openHandles;
    // The service process.
    bool processRunning = false;
    bool processEnded = false;
    int exitCode = 0;
    SimThreadId mainThread = 0;
    bool dispatcherActive = false;
    std::u16string dispatched;
    std::u16string dispatchedArg;
    std::vector<char16_t*> argv;
    HandlerFunctionEx handler = nullptr;
    void* context = nullptr;
    std::u16string handlerName;
    bool stopped = false;
    std::vector<StatusReport> reports;
    std::deque<PendingControl> controls;
    std::map<ControlTicket, std::uint32_t> results;
    ControlTicket nextTicket = 1;
};

ServicesState& State() {
    static ServicesState* state = new ServicesState;
    return *state;
}

std::u16string Key(std::u16string_view name) {
    return FoldedName<char16_t>(name);
}

SimServiceState* FindLocked(std::u16string_view name) {
    auto it = State().services.find(Key(name));
    return it == State().services.end() ? nullptr : &it->second;
}

ScObject* ObjectOf(const ScHandle& handle) {
    return static_cast<ScObject*>(handle.Get());
}

bool IsSpooler(std::u16string_view name) {
    return SameName(name, u"Spooler");
}

ServiceStatusRecord StatusOf(const SimServiceState& s) {
    ServiceStatusRecord r;
    r.serviceType = s.config.serviceType;
    r.currentState = s.currentState;
    r.controlsAccepted =
        s.currentState == ServiceRunning ? ServiceAcceptStop | ServiceAcceptShutdown : 0;
    return r;
}

// The service a handle names, or the error the call must fail with.
WinError ResolveService(const ScHandle& handle, std::uint32_t needed, SimServiceState** service) {
    ScObject* object = ObjectOf(handle);
    if (!object || object->isManager)
        return ErrorInvalidHandle;
    if ((object->access & needed) != needed)
        return ErrorAccessDenied;
    *service = FindLocked(object->serviceName);
    return *service ? ErrorSuccess : ErrorInvalidHandle;
}

void ClearProcessLocked(ServicesState& s) {
    s.processRunning = false;
    s.dispatcherActive = false;
    s.dispatched.clear();
    s.handler = nullptr;
    s.context = nullptr;
    s.handlerName.clear();
    s.controls.clear();
}

bool DispatcherHasWork() {
    std::lock_guard guard(State().lock);
    return State().stopped || (State().handler && !State().controls.empty());
}

void PutU32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutU16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t v) {
    out[at] = static_cast<std::uint8_t>(v);
    out[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// The program a service's command line starts: quoted, or up to the first
// space unless the whole line names a file.
bool ProgramExists(std::u16string_view commandLine) {
    std::u16string_view program = commandLine;
    if (program.starts_with(u'"')) {
        program.remove_prefix(1);
        program = program.substr(0, program.find(u'"'));
    } else if (!std::filesystem::is_regular_file(HostPath(program))) {
        program = program.substr(0, program.find(u' '));
    }
    return std::filesystem::is_regular_file(HostPath(program));
}

} // namespace

void ResetServices() {
    std::lock_guard guard(State().lock);
    ServicesState& s = State();
    s.services.clear();
    s.openHandles.clear();
    ServiceConfig spooler;
    spooler.serviceName = u"Spooler";
    spooler.displayName = u"Print Spooler";
    spooler.binaryPathName = u"C:\\Windows\\System32\\spoolsv.exe";
    s.services[Key(u"Spooler")] = {spooler, ServiceRunning, false};
    ClearProcessLocked(s);
    s.processEnded = false;
    s.exitCode = 0;
    s.mainThread = 0;
    s.stopped = false;
    s.reports.clear();
    s.results.clear();
}

void AddService(const ServiceConfig& config, std::uint32_t currentState) {
    std::lock_guard guard(State().lock);
    State().services[Key(config.serviceName)] = {config, currentState, false};
}

std::vector<SimServiceState> AllServices() {
    std::lock_guard guard(State().lock);
    std::vector<SimServiceState> all;
    for (const auto& [key, service] : State().services)
        all.push_back(service);
    return all;
}

std::optional<SimServiceState> FindService(std::u16string_view serviceName) {
    std::lock_guard guard(State().lock);
    SimServiceState* s = FindLocked(serviceName);
    return s ? std::optional(*s) : std::nullopt;
}

void StartServiceProcess(std::function<int()> entry) {
    {
        std::lock_guard guard(State().lock);
        ServicesState& s = State();
        ClearProcessLocked(s);
        s.processRunning = true;
        s.processEnded = false;
        s.stopped = false;
        s.reports.clear();
        s.results.clear();
    }
    SimThreadId id = SpawnThread([entry = std::move(entry)] {
        int code = entry();
        {
            std::lock_guard guard(State().lock);
            ClearProcessLocked(State());
            State().processEnded = true;
            State().exitCode = code;
        }
        EndOtherThreads();
    });
    std::lock_guard guard(State().lock);
    State().mainThread = id;
}

bool ProcessEnded() {
    std::lock_guard guard(State().lock);
    return State().processEnded;
}

int ProcessExitCode() {
    std::lock_guard guard(State().lock);
    return State().exitCode;
}

std::u16string DispatchedService() {
    std::lock_guard guard(State().lock);
    return State().dispatched;
}

std::u16string HandlerName() {
    std::lock_guard guard(State().lock);
    return State().handlerName;
}

ServiceStatusHandle CurrentStatusHandle() {
    std::lock_guard guard(State().lock);
    return State().handler ? StatusHandleToken : nullptr;
}

std::vector<StatusReport> StatusReports() {
    std::lock_guard guard(State().lock);
    return State().reports;
}

ControlTicket PostControl(std::uint32_t control, std::uint32_t eventType,
                          std::vector<std::uint8_t> eventData) {
    std::lock_guard guard(State().lock);
    ServicesState& s = State();
    if (!s.processRunning)
        return 0;
    ControlTicket ticket = s.nextTicket++;
    s.controls.push_back({ticket, control, eventType, std::move(eventData)});
    return ticket;
}

std::optional<std::uint32_t> ControlResult(ControlTicket ticket) {
    std::lock_guard guard(State().lock);
    auto it = State().results.find(ticket);
    return it == State().results.end() ? std::nullopt : std::optional(it->second);
}

std::optional<std::uint32_t> SendControl(std::uint32_t control, std::uint32_t eventType,
                                         std::vector<std::uint8_t> eventData) {
    ControlTicket ticket = PostControl(control, eventType, std::move(eventData));
    if (!ticket)
        return std::nullopt;
    RunUntil([ticket] { return ControlResult(ticket).has_value(); });
    return ControlResult(ticket);
}

std::vector<std::uint8_t> DeviceInterfaceRecord(const Guid& classGuid, std::u16string_view name) {
    std::vector<std::uint8_t> record(DevBroadcastNameOffset + 2 * (name.size() + 1), 0);
    if (record.size() < 32)
        record.resize(32, 0);
    PutU32(record, 0, static_cast<std::uint32_t>(DevBroadcastNameOffset + 2 * (name.size() + 1)));
    PutU32(record, 4, DbtDevtypDeviceInterface);
    PutU32(record, 8, 0);
    PutU32(record, 12, classGuid.data1);
    PutU16(record, 16, classGuid.data2);
    PutU16(record, 18, classGuid.data3);
    for (int i = 0; i < 8; ++i)
        record[20 + i] = classGuid.data4[i];
    for (std::size_t i = 0; i < name.size(); ++i)
        PutU16(record, DevBroadcastNameOffset + 2 * i, name[i]);
    return record;
}

} // namespace platform::sim

namespace platform {

using sim::State;

Status ScTraits::Close(RawHandle raw) {
    std::lock_guard guard(State().lock);
    auto* object = static_cast<sim::ScObject*>(raw);
    WinError e = sim::TakeFault("CloseServiceHandle");
    if (!object->isManager) {
        std::u16string key = sim::Key(object->serviceName);
        auto& open = State().openHandles[key];
        if (open > 0)
            --open;
        sim::SimServiceState* s = sim::FindLocked(object->serviceName);
        if (open == 0 && s && s->markedForDelete && s->currentState == ServiceStopped)
            State().services.erase(key);
    }
    delete object;
    return Failure(e);
}

Outcome<ScHandle> OpenSCManagerW(std::uint32_t desiredAccess) {
    if (WinError e = sim::TakeFault("OpenSCManagerW"))
        return Outcome<ScHandle>::Failure(e);
    return ScHandle(new sim::ScObject{true, {}, desiredAccess});
}

Outcome<ScHandle> OpenServiceW(const ScHandle& manager, std::u16string_view serviceName,
                               std::uint32_t desiredAccess) {
    if (WinError e = sim::TakeFault("OpenServiceW"))
        return Outcome<ScHandle>::Failure(e);
    std::lock_guard guard(State().lock);
    if (!manager || !sim::ObjectOf(manager)->isManager)
        return Outcome<ScHandle>::Failure(ErrorInvalidHandle);
    sim::SimServiceState* s = sim::FindLocked(serviceName);
    if (!s)
        return Outcome<ScHandle>::Failure(ErrorServiceDoesNotExist);
    ++State().openHandles[sim::Key(serviceName)];
    return ScHandle(new sim::ScObject{false, s->config.serviceName, desiredAccess});
}

Outcome<ScHandle> CreateServiceW(const ScHandle& manager, const ServiceConfig& config) {
    if (WinError e = sim::TakeFault("CreateServiceW"))
        return Outcome<ScHandle>::Failure(e);
    std::lock_guard guard(State().lock);
    if (!manager || !sim::ObjectOf(manager)->isManager)
        return Outcome<ScHandle>::Failure(ErrorInvalidHandle);
    if (config.serviceName.empty() || config.binaryPathName.empty())
        return Outcome<ScHandle>::Failure(ErrorInvalidParameter);
    if (sim::SimServiceState* s = sim::FindLocked(config.serviceName))
        return Outcome<ScHandle>::Failure(s->markedForDelete ? ErrorServiceMarkedForDelete
                                                             : ErrorServiceExists);
    State().services[sim::Key(config.serviceName)] = {config, ServiceStopped, false};
    ++State().openHandles[sim::Key(config.serviceName)];
    return ScHandle(new sim::ScObject{false, config.serviceName, config.desiredAccess});
}

Status StartServiceW(const ScHandle& service) {
    if (WinError e = sim::TakeFault("StartServiceW"))
        return Failure(e);
    bool spooler = false;
    {
        std::lock_guard guard(State().lock);
        sim::SimServiceState* s = nullptr;
        if (WinError e = sim::ResolveService(service, ServiceStart, &s))
            return Failure(e);
        if (s->markedForDelete)
            return Failure(ErrorServiceMarkedForDelete);
        if (s->config.startType == sim::ServiceDisabled)
            return Failure(ErrorServiceDisabled);
        if (s->currentState != ServiceStopped)
            return Failure(ErrorServiceAlreadyRunning);
        if (!sim::ProgramExists(s->config.binaryPathName))
            return Failure(ErrorFileNotFound);
        s->currentState = ServiceRunning;
        spooler = sim::IsSpooler(s->config.serviceName);
    }
    if (spooler)
        sim::SetSpoolerRunning(true);
    return {};
}

Outcome<ServiceStatusRecord> ControlService(const ScHandle& service, std::uint32_t control) {
    if (WinError e = sim::TakeFault("ControlService"))
        return Outcome<ServiceStatusRecord>::Failure(e);
    ServiceStatusRecord result;
    bool spoolerStopped = false;
    {
        std::lock_guard guard(State().lock);
        sim::SimServiceState* s = nullptr;
        std::uint32_t needed = control == ServiceControlStop ? ServiceStop : ServiceQueryStatus;
        if (WinError e = sim::ResolveService(service, needed, &s))
            return Outcome<ServiceStatusRecord>::Failure(e);
        if (s->currentState == ServiceStopped)
            return {sim::StatusOf(*s), ErrorServiceNotActive};
        if (control == ServiceControlStop) {
            s->currentState = ServiceStopped;
            spoolerStopped = sim::IsSpooler(s->config.serviceName);
        } else if (control != ServiceControlInterrogate) {
            return {sim::StatusOf(*s), ErrorServiceCannotAcceptControl};
        }
        result = sim::StatusOf(*s);
    }
    if (spoolerStopped)
        sim::SetSpoolerRunning(false);
    return result;
}

Outcome<ServiceStatusRecord> QueryServiceStatus(const ScHandle& service) {
    if (WinError e = sim::TakeFault("QueryServiceStatus"))
        return Outcome<ServiceStatusRecord>::Failure(e);
    std::lock_guard guard(State().lock);
    sim::SimServiceState* s = nullptr;
    if (WinError e = sim::ResolveService(service, ServiceQueryStatus, &s))
        return Outcome<ServiceStatusRecord>::Failure(e);
    return sim::StatusOf(*s);
}

Outcome<QueryServiceConfigRecord> QueryServiceConfigW(const ScHandle& service) {
    if (WinError e = sim::TakeFault("QueryServiceConfigW"))
        return Outcome<QueryServiceConfigRecord>::Failure(e);
    std::lock_guard guard(State().lock);
    sim::SimServiceState* s = nullptr;
    if (WinError e = sim::ResolveService(service, ServiceQueryConfig, &s))
        return Outcome<QueryServiceConfigRecord>::Failure(e);
    QueryServiceConfigRecord record;
    record.serviceType = s->config.serviceType;
    record.startType = s->config.startType;
    record.errorControl = s->config.errorControl;
    record.binaryPathName = s->config.binaryPathName;
    // A service created without an account runs as LocalSystem.
    record.serviceStartName = u"LocalSystem";
    record.displayName =
        s->config.displayName.empty() ? s->config.serviceName : s->config.displayName;
    return record;
}

Status DeleteService(const ScHandle& service) {
    if (WinError e = sim::TakeFault("DeleteService"))
        return Failure(e);
    std::lock_guard guard(State().lock);
    sim::SimServiceState* s = nullptr;
    if (WinError e = sim::ResolveService(service, Delete, &s))
        return Failure(e);
    if (s->markedForDelete)
        return Failure(ErrorServiceMarkedForDelete);
    s->markedForDelete = true;
    return {};
}

Status StartServiceCtrlDispatcherW(const std::vector<ServiceTableEntry>& table) {
    if (WinError e = sim::TakeFault("StartServiceCtrlDispatcherW"))
        return Failure(e);
    ServiceMainFunction serviceMain = nullptr;
    {
        std::lock_guard guard(State().lock);
        sim::ServicesState& s = State();
        if (!s.processRunning || sim::CurrentThread() == 0 || sim::CurrentThread() != s.mainThread)
            return Failure(ErrorFailedServiceControllerConnect);
        if (s.dispatcherActive)
            return Failure(ErrorServiceAlreadyRunning);
        if (table.empty() || !table.front().serviceMain)
            return Failure(ErrorInvalidParameter);
        s.dispatcherActive = true;
        s.dispatched = table.front().serviceName;
        s.dispatchedArg = s.dispatched;
        s.argv = {s.dispatchedArg.data(), nullptr};
        serviceMain = table.front().serviceMain;
    }
    sim::SpawnThread([serviceMain] { serviceMain(1, State().argv.data()); });
    for (;;) {
        sim::WaitUntil(sim::DispatcherHasWork);
        std::unique_lock held(State().lock);
        if (State().stopped)
            break;
        sim::PendingControl next = std::move(State().controls.front());
        State().controls.pop_front();
        HandlerFunctionEx handler = State().handler;
        void* context = State().context;
        held.unlock();
        std::uint32_t result =
            handler(next.control, next.eventType,
                    next.eventData.empty() ? nullptr : next.eventData.data(), context);
        held.lock();
        State().results[next.ticket] = result;
    }
    std::lock_guard guard(State().lock);
    State().dispatcherActive = false;
    return {};
}

Outcome<ServiceStatusHandle> RegisterServiceCtrlHandlerExW(std::u16string_view serviceName,
                                                           HandlerFunctionEx handler,
                                                           void* context) {
    if (WinError e = sim::TakeFault("RegisterServiceCtrlHandlerExW"))
        return Outcome<ServiceStatusHandle>::Failure(e);
    std::lock_guard guard(State().lock);
    if (!State().dispatcherActive)
        return Outcome<ServiceStatusHandle>::Failure(ErrorServiceDoesNotExist);
    if (!handler)
        return Outcome<ServiceStatusHandle>::Failure(ErrorInvalidParameter);
    State().handler = handler;
    State().context = context;
    State().handlerName = serviceName;
    return sim::StatusHandleToken;
}

Status SetServiceStatus(ServiceStatusHandle handle, const ServiceStatusRecord& status) {
    WinError e = sim::TakeFault("SetServiceStatus");
    std::lock_guard guard(State().lock);
    sim::ServicesState& s = State();
    if (!e && (handle != sim::StatusHandleToken || !s.handler))
        e = ErrorInvalidHandle;
    s.reports.push_back({status, e == ErrorSuccess, sim::Now()});
    if (e)
        return Failure(e);
    if (status.currentState == ServiceStopped)
        s.stopped = true;
    return {};
}

} // namespace platform

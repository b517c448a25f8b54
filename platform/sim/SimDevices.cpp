#include "platform/sim/SimDevices.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "platform/Files.h"
#include "platform/sim/SimFaults.h"
#include "platform/sim/SimFileObject.h"
#include "platform/sim/SimServices.h"
#include "platform/sim/SimText.h"

namespace platform::sim {
namespace {

class CDeviceFile;

struct DeviceRecord {
    SimDevice device;
    std::uint32_t devInst = 0;
    bool present = true;
    std::vector<ScriptedRead> script;
    std::size_t nextRead = 0;
    std::optional<std::vector<std::uint8_t>> lastFull;
    std::uint32_t reads = 0;
    std::uint32_t opens = 0;
    std::vector<CDeviceFile*> openFiles;
};

struct DevicesState {
    std::mutex lock;
    std::vector<std::shared_ptr<DeviceRecord>> devices; // present ones, in plug order
    std::uint32_t nextDevInst = 1;
    bool propertyApi = true;
    std::vector<NotificationRegistration> notifications;
};

DevicesState& State() {
    static DevicesState* state = new DevicesState;
    return *state;
}

class CDeviceFile final : public ISimFile {
  public:
    CDeviceFile(std::shared_ptr<DeviceRecord> record, std::uint32_t access, std::uint32_t share)
        : m_record(std::move(record)), m_access(access), m_share(share) {
        m_record->openFiles.push_back(this);
    }
    ~CDeviceFile() override {
        std::lock_guard guard(State().lock);
        std::erase(m_record->openFiles, this);
    }

    Outcome<std::uint32_t> Read(void* buffer, std::uint32_t bytesToRead) override {
        std::lock_guard guard(State().lock);
        DeviceRecord& r = *m_record;
        ++r.reads;
        if (!r.present)
            return {0, ErrorDeviceNotConnected};
        std::optional<ScriptedRead> next;
        if (r.nextRead < r.script.size())
            next = r.script[r.nextRead++];
        else if (r.lastFull)
            next = ScriptedRead{*r.lastFull};
        if (!next)
            return {0, ErrorGenFailure};
        if (next->error)
            return {0, next->error};
        std::uint32_t n =
            std::min<std::uint32_t>(bytesToRead, static_cast<std::uint32_t>(next->bytes.size()));
        std::copy_n(next->bytes.begin(), n, static_cast<std::uint8_t*>(buffer));
        if (n == bytesToRead)
            r.lastFull = next->bytes;
        return n;
    }

    Outcome<std::uint32_t> Write(const void*, std::uint32_t bytesToWrite) override {
        std::lock_guard guard(State().lock);
        if (!m_record->present)
            return {0, ErrorDeviceNotConnected};
        return bytesToWrite;
    }

    Outcome<std::int64_t> Size() override { return {0, ErrorInvalidParameter}; }

    std::uint32_t Access() const { return m_access; }
    std::uint32_t Share() const { return m_share; }

  private:
    std::shared_ptr<DeviceRecord> m_record;
    std::uint32_t m_access;
    std::uint32_t m_share;
};

// What each access bit needs the other opener to share.
std::uint32_t ShareNeededFor(std::uint32_t access) {
    return ((access & GenericRead) ? FileShareRead : 0) |
           ((access & GenericWrite) ? FileShareWrite : 0);
}

bool Conflicts(const CDeviceFile& open, std::uint32_t access, std::uint32_t share) {
    return (ShareNeededFor(access) & ~open.Share()) || (ShareNeededFor(open.Access()) & ~share);
}

std::shared_ptr<DeviceRecord> FindLocked(std::u16string_view instanceId) {
    for (auto& r : State().devices)
        if (SameName(r->device.instanceId, instanceId))
            return r;
    return nullptr;
}

Outcome<std::unique_ptr<ISimFile>> OpenDevice(std::u16string_view path, std::uint32_t access,
                                              std::uint32_t share) {
    std::lock_guard guard(State().lock);
    for (auto& r : State().devices) {
        for (const SimDeviceInterface& i : r->device.interfaces) {
            if (!SameName(i.path, path))
                continue;
            for (const CDeviceFile* open : r->openFiles)
                if (Conflicts(*open, access, share))
                    return Outcome<std::unique_ptr<ISimFile>>::Failure(ErrorSharingViolation);
            ++r->opens;
            return std::unique_ptr<ISimFile>(new CDeviceFile(r, access, share));
        }
    }
    return Outcome<std::unique_ptr<ISimFile>>::Failure(ErrorFileNotFound);
}

void InstallOpener() {
    SetDeviceOpener(OpenDevice);
}

// Posts one device event per interface to the matching registrations.
void Announce(const SimDevice& device, std::uint32_t eventType) {
    std::vector<NotificationRegistration> registrations;
    {
        std::lock_guard guard(State().lock);
        registrations = State().notifications;
    }
    ServiceStatusHandle handler = CurrentStatusHandle();
    for (const SimDeviceInterface& i : device.interfaces)
        for (const NotificationRegistration& n : registrations)
            if (n.active && handler && n.recipient == handler &&
                (n.flags & DeviceNotifyServiceHandle) && n.filter.classGuid == i.classGuid)
                PostControl(ServiceControlDeviceEvent, eventType,
                            DeviceInterfaceRecord(i.classGuid, i.path));
}

struct SetEntry {
    std::u16string instanceId;
    std::uint32_t devInst = 0;
    Guid setupClass;
    std::optional<std::u16string> description;
    std::vector<std::u16string> children;
};

struct SetInterface {
    Guid classGuid;
    std::u16string path;
};

// A device information set: a snapshot taken when it was made.
struct DevInfoSet {
    std::vector<SetEntry> devices;
    std::vector<SetInterface> interfaces;
};

bool HasEnumerator(std::u16string_view instanceId, std::u16string_view enumerator) {
    if (enumerator.empty())
        return true;
    return instanceId.size() > enumerator.size() &&
           SameName(instanceId.substr(0, enumerator.size()), enumerator) &&
           instanceId[enumerator.size()] == u'\\';
}

bool HasInterface(const SimDevice& d, const Guid& cls) {
    return std::any_of(d.interfaces.begin(), d.interfaces.end(),
                       [&](const SimDeviceInterface& i) { return i.classGuid == cls; });
}

std::vector<std::uint8_t> Utf16Bytes(const std::vector<std::u16string>& strings, bool multi) {
    std::vector<std::uint8_t> bytes;
    auto put = [&](char16_t c) {
        bytes.push_back(static_cast<std::uint8_t>(c));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    };
    for (const std::u16string& s : strings) {
        for (char16_t c : s)
            put(c);
        put(u'\0');
    }
    if (multi)
        put(u'\0');
    return bytes;
}

DevInfoSet* SetOf(const DevInfoHandle& set) {
    return static_cast<DevInfoSet*>(set.Get());
}

} // namespace

void ResetDevices() {
    InstallOpener();
    std::lock_guard guard(State().lock);
    for (auto& r : State().devices)
        r->present = false;
    State().devices.clear();
    State().nextDevInst = 1;
    State().propertyApi = true;
    State().notifications.clear();
}

void SetDevicePropertyApiPresent(bool present) {
    std::lock_guard guard(State().lock);
    State().propertyApi = present;
}

void PlugDevice(const SimDevice& device) {
    InstallOpener();
    {
        std::lock_guard guard(State().lock);
        auto r = std::make_shared<DeviceRecord>();
        r->device = device;
        r->devInst = State().nextDevInst++;
        State().devices.push_back(r);
    }
    Announce(device, DbtDeviceArrival);
}

void UnplugDevice(std::u16string_view instanceId) {
    SimDevice removed;
    {
        std::lock_guard guard(State().lock);
        std::shared_ptr<DeviceRecord> r = FindLocked(instanceId);
        if (!r)
            return;
        r->present = false;
        removed = r->device;
        std::erase(State().devices, r);
    }
    Announce(removed, DbtDeviceRemoveComplete);
}

bool DevicePresent(std::u16string_view instanceId) {
    std::lock_guard guard(State().lock);
    return FindLocked(instanceId) != nullptr;
}

void ScriptReads(std::u16string_view instanceId, const std::vector<ScriptedRead>& reads) {
    std::lock_guard guard(State().lock);
    if (auto r = FindLocked(instanceId))
        r->script.insert(r->script.end(), reads.begin(), reads.end());
}

std::uint32_t DeviceReadCount(std::u16string_view instanceId) {
    std::lock_guard guard(State().lock);
    auto r = FindLocked(instanceId);
    return r ? r->reads : 0;
}

std::uint32_t DeviceOpenCount(std::u16string_view instanceId) {
    std::lock_guard guard(State().lock);
    auto r = FindLocked(instanceId);
    return r ? r->opens : 0;
}

std::uint32_t DeviceOpenHandles(std::u16string_view instanceId) {
    std::lock_guard guard(State().lock);
    auto r = FindLocked(instanceId);
    return r ? static_cast<std::uint32_t>(r->openFiles.size()) : 0;
}

std::vector<NotificationRegistration> DeviceNotifications() {
    std::lock_guard guard(State().lock);
    return State().notifications;
}

} // namespace platform::sim

namespace platform {

using sim::State;

Status DevInfoTraits::Close(RawHandle raw) {
    delete static_cast<sim::DevInfoSet*>(raw);
    return Status{sim::TakeFault("SetupDiDestroyDeviceInfoList")};
}

Outcome<DevInfoHandle> SetupDiGetClassDevsW(const Guid* classGuid, std::u16string_view enumerator,
                                            std::uint32_t flags) {
    if (WinError e = sim::TakeFault("SetupDiGetClassDevsW"))
        return Outcome<DevInfoHandle>::Failure(e);
    if (!classGuid && !(flags & DigcfAllClasses))
        return Outcome<DevInfoHandle>::Failure(ErrorInvalidParameter);
    std::lock_guard guard(State().lock);
    auto set = std::make_unique<sim::DevInfoSet>();
    for (auto& r : State().devices) {
        const sim::SimDevice& d = r->device;
        if (!sim::HasEnumerator(d.instanceId, enumerator))
            continue;
        bool byInterface = (flags & DigcfDeviceInterface) && classGuid;
        if (!(flags & DigcfAllClasses)) {
            if (byInterface ? !sim::HasInterface(d, *classGuid) : !(d.setupClass == *classGuid))
                continue;
        }
        set->devices.push_back(
            {d.instanceId, r->devInst, d.setupClass, d.busReportedDescription, d.children});
        for (const sim::SimDeviceInterface& i : d.interfaces)
            if (!byInterface || i.classGuid == *classGuid)
                set->interfaces.push_back({i.classGuid, i.path});
    }
    return DevInfoHandle(set.release());
}

Outcome<DeviceInterfaceData> SetupDiEnumDeviceInterfaces(const DevInfoHandle& set,
                                                         const Guid& interfaceClass,
                                                         std::uint32_t memberIndex) {
    if (WinError e = sim::TakeFault("SetupDiEnumDeviceInterfaces"))
        return Outcome<DeviceInterfaceData>::Failure(e);
    if (!set)
        return Outcome<DeviceInterfaceData>::Failure(ErrorInvalidHandle);
    std::uint32_t seen = 0;
    const auto& interfaces = sim::SetOf(set)->interfaces;
    for (std::size_t i = 0; i < interfaces.size(); ++i) {
        if (!(interfaces[i].classGuid == interfaceClass))
            continue;
        if (seen++ == memberIndex)
            return DeviceInterfaceData{interfaceClass, 1, i + 1};
    }
    return Outcome<DeviceInterfaceData>::Failure(ErrorNoMoreItems);
}

Outcome<std::u16string> SetupDiGetDeviceInterfaceDetailW(const DevInfoHandle& set,
                                                         const DeviceInterfaceData& interfaceData) {
    if (WinError e = sim::TakeFault("SetupDiGetDeviceInterfaceDetailW"))
        return Outcome<std::u16string>::Failure(e);
    if (!set)
        return Outcome<std::u16string>::Failure(ErrorInvalidHandle);
    const auto& interfaces = sim::SetOf(set)->interfaces;
    if (interfaceData.reserved == 0 || interfaceData.reserved > interfaces.size())
        return Outcome<std::u16string>::Failure(ErrorInvalidParameter);
    return interfaces[interfaceData.reserved - 1].path;
}

Outcome<DevInfoData> SetupDiEnumDeviceInfo(const DevInfoHandle& set, std::uint32_t memberIndex) {
    if (WinError e = sim::TakeFault("SetupDiEnumDeviceInfo"))
        return Outcome<DevInfoData>::Failure(e);
    if (!set)
        return Outcome<DevInfoData>::Failure(ErrorInvalidHandle);
    const auto& devices = sim::SetOf(set)->devices;
    if (memberIndex >= devices.size())
        return Outcome<DevInfoData>::Failure(ErrorNoMoreItems);
    const sim::SetEntry& d = devices[memberIndex];
    return DevInfoData{d.setupClass, d.devInst, memberIndex + 1u};
}

bool HasSetupDiGetDevicePropertyW() {
    std::lock_guard guard(State().lock);
    return State().propertyApi;
}

Outcome<DevProperty> SetupDiGetDevicePropertyW(const DevInfoHandle& set, const DevInfoData& device,
                                               const DevPropKey& key, std::uint32_t bufferSize) {
    if (WinError e = sim::TakeFault("SetupDiGetDevicePropertyW"))
        return Outcome<DevProperty>::Failure(e);
    if (!set)
        return Outcome<DevProperty>::Failure(ErrorInvalidHandle);
    const auto& devices = sim::SetOf(set)->devices;
    if (device.reserved == 0 || device.reserved > devices.size())
        return Outcome<DevProperty>::Failure(ErrorInvalidParameter);
    const sim::SetEntry& d = devices[device.reserved - 1];
    DevProperty property;
    auto same = [](const DevPropKey& a, const DevPropKey& b) {
        return a.fmtid == b.fmtid && a.pid == b.pid;
    };
    if (same(key, DevpkeyDeviceBusReportedDeviceDesc) && d.description) {
        property = {DevpropTypeString, sim::Utf16Bytes({*d.description}, false)};
    } else if (same(key, DevpkeyDeviceChildren) && !d.children.empty()) {
        property = {DevpropTypeStringList, sim::Utf16Bytes(d.children, true)};
    } else {
        return Outcome<DevProperty>::Failure(sim::ErrorNotFound);
    }
    if (property.bytes.size() > bufferSize)
        return Outcome<DevProperty>::Failure(ErrorInsufficientBuffer);
    return property;
}

Outcome<std::u16string> CM_Get_Device_IDW(std::uint32_t devInst, std::uint32_t bufferChars) {
    if (WinError e = sim::TakeFault("CM_Get_Device_IDW"))
        return Outcome<std::u16string>::Failure(e);
    std::lock_guard guard(State().lock);
    for (auto& r : State().devices) {
        if (r->devInst != devInst)
            continue;
        // An ID that fills the buffer exactly comes back without its
        // terminator, as Windows documents.
        if (r->device.instanceId.size() > bufferChars)
            return Outcome<std::u16string>::Failure(CrBufferSmall);
        return r->device.instanceId;
    }
    return Outcome<std::u16string>::Failure(CrNoSuchDevnode);
}

Status DeviceNotifyTraits::Close(RawHandle raw) {
    std::lock_guard guard(State().lock);
    auto index = reinterpret_cast<std::uintptr_t>(raw);
    if (index == 0 || index > State().notifications.size())
        return Failure(ErrorInvalidHandle);
    State().notifications[index - 1].active = false;
    return Status{sim::TakeFault("UnregisterDeviceNotification")};
}

Outcome<DeviceNotifyHandle>
RegisterDeviceNotificationW(RawHandle recipient, const DevBroadcastDeviceInterfaceFilter& filter,
                            std::uint32_t flags) {
    if (WinError e = sim::TakeFault("RegisterDeviceNotificationW"))
        return Outcome<DeviceNotifyHandle>::Failure(e);
    std::lock_guard guard(State().lock);
    bool valid = recipient && filter.size >= 32 && filter.deviceType == DbtDevtypDeviceInterface;
    State().notifications.push_back({recipient, filter, flags, valid});
    if (!recipient)
        return Outcome<DeviceNotifyHandle>::Failure(ErrorInvalidHandle);
    if (!valid)
        return Outcome<DeviceNotifyHandle>::Failure(ErrorInvalidParameter);
    return DeviceNotifyHandle(reinterpret_cast<RawHandle>(State().notifications.size()));
}

} // namespace platform

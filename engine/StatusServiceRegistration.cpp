// The model's status service registered with the service control manager
// and started, and stopped and deleted again.
#include "engine/EngineTrace.h"
#include "engine/InstallEngine.h"
#include "platform/Services.h"
#include "platform/System.h"

using namespace platform;

namespace {

constexpr std::uint32_t GenericAll = 0x10000000;

std::u16string ServiceName(std::u16string_view modelName) {
    return std::u16string(modelName) + u"_StatusMonitor";
}

void WriteLine(const char* format, WinError error) {
    WriteStandardOutput(FormatErrorLine(format, error));
}

} // namespace

bool CInstallEngine::InstallStatusService(std::u16string modelName) {
    // Nothing was staged in a protected folder: there is no program to register.
    if (m_serviceProgramPath.empty())
        return false;
    std::u16string name = ServiceName(modelName);
    Outcome<ScHandle> manager = OpenSCManagerW(GenericAll);
    if (!manager)
        return false;
    // An existing registration is used unchanged.
    Outcome<ScHandle> service = OpenServiceW(manager.value, name, ServiceAllAccess);
    if (!service) {
        ServiceConfig config;
        config.serviceName = name;
        config.displayName = name;
        config.desiredAccess = ServiceAllAccess;
        config.serviceType = ServiceWin32OwnProcess;
        config.startType = ServiceAutoStart;
        config.errorControl = ServiceErrorNormal;
        // Quoted: unquoted, a program at the prefix before a blank would run instead.
        config.binaryPathName = u"\"" + m_serviceProgramPath + u"\"";
        service = CreateServiceW(manager.value, config);
    }
    if (!service)
        return false;
    Status started = StartServiceW(service.value);
    return started || started.error == ErrorServiceAlreadyRunning;
}

bool CInstallEngine::RemoveStatusService(std::u16string modelName) {
    std::u16string name = ServiceName(modelName);
    Outcome<ScHandle> manager = OpenSCManagerW(ScManagerAllAccess);
    if (!manager)
        return false;
    Outcome<ScHandle> service = OpenServiceW(manager.value, name, ServiceAllAccess);
    if (!service)
        return false;
    Outcome<ServiceStatusRecord> status = QueryServiceStatus(service.value);
    if (!status)
        return false;
    // The stop is requested, not awaited.
    if (status.value.currentState != ServiceStopped) {
        if (Outcome<ServiceStatusRecord> stopped =
                ControlService(service.value, ServiceControlStop);
            !stopped) {
            WriteLine("Stop Service failed:%d!\n", stopped.error);
            return false;
        }
    }
    if (Status deleted = DeleteService(service.value); !deleted) {
        WriteLine("Uninstall Service failed:%d!\n", deleted.error);
        return false;
    }
    WriteStandardOutput("Uninstall Service Success!\n");
    return true;
}

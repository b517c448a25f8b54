#include "platform/sim/SimSnapshot.h"

#include <filesystem>
#include <fstream>
#include <iomanip>
#include <set>
#include <sstream>

#include "platform/sim/SimFiles.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSecurity.h"
#include "platform/sim/SimSpooler.h"
#include "platform/sim/SimUnicode.h"

namespace fs = std::filesystem;

namespace platform::sim {
namespace {

// "C:\Windows\Temp" for <root>/C/Windows/Temp.
std::string WindowsPathOf(const fs::path& host) {
    std::string path;
    for (const fs::path& part : host.lexically_relative(FileRoot())) {
        if (path.empty())
            path = part.string() + ":";
        else
            path += "\\" + part.string();
    }
    return path;
}

std::string Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

SimFilesSnapshot FilesNow() {
    SimFilesSnapshot snapshot;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(FileRoot(), ec);
         it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::string path = WindowsPathOf(it->path());
        if (it->is_directory(ec))
            snapshot.files[path + "\\"] = "";
        else
            snapshot.files[path] = Contents(it->path());
    }
    for (const auto& [host, dacl] : AllFileSecurity())
        snapshot.security[WindowsPathOf(host)] = dacl;
    return snapshot;
}

// Short contents are shown, longer ones by their size.
void PrintBytes(const std::string& bytes, std::ostream* out) {
    if (bytes.size() > 40) {
        *out << bytes.size() << " bytes";
        return;
    }
    *out << '"';
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\')
            *out << c;
        else
            *out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << int{c} << std::dec;
    }
    *out << '"';
}

std::string Quoted(const std::u16string& text) {
    return '"' + ToUtf8(text) + '"';
}

std::string Hex(std::uint32_t value) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << value;
    return text.str();
}

std::vector<std::string> Lines(const SimSnapshot& snapshot) {
    std::ostringstream text;
    PrintTo(snapshot, &text);
    std::vector<std::string> lines;
    std::istringstream in(text.str());
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

std::string DescribeDifference(const SimSnapshot& expected, const SimSnapshot& actual) {
    std::vector<std::string> want = Lines(expected);
    std::vector<std::string> have = Lines(actual);
    std::multiset<std::string> wanted(want.begin(), want.end());
    std::multiset<std::string> had(have.begin(), have.end());
    std::string difference;
    for (const std::string& line : want)
        if (auto it = had.find(line); it != had.end())
            had.erase(it);
        else
            difference += "- " + line + "\n";
    for (const std::string& line : have)
        if (auto it = wanted.find(line); it != wanted.end())
            wanted.erase(it);
        else
            difference += "+ " + line + "\n";
    return difference;
}

SimSnapshot TakeSnapshot() {
    SimSnapshot snapshot;
    snapshot.files = FilesNow();
    snapshot.spooler.queues = AllQueues();
    snapshot.spooler.drivers = AllDrivers();
    snapshot.spooler.ports = AllPorts();
    snapshot.spooler.defaultPrinter = DefaultPrinter();
    snapshot.services.services = AllServices();
    snapshot.registry.keys = RegistryContents();
    return snapshot;
}

void PrintTo(const SimFilesSnapshot& files, std::ostream* out) {
    for (const auto& [path, bytes] : files.files) {
        *out << "\n  file " << path;
        if (!path.ends_with('\\')) {
            *out << ' ';
            PrintBytes(bytes, out);
        }
    }
    for (const auto& [path, dacl] : files.security) {
        *out << "\n  security " << path << ' ';
        PrintTo(dacl, out);
    }
}

void PrintTo(const SimSpoolerSnapshot& spooler, std::ostream* out) {
    for (const PrinterInfo2& queue : spooler.queues) {
        *out << "\n  queue ";
        PrintTo(queue, out);
    }
    for (const auto& [environment, drivers] : spooler.drivers)
        for (const DriverInfo3& driver : drivers) {
            *out << "\n  driver ";
            PrintTo(driver, out);
        }
    for (const PortInfo2& port : spooler.ports) {
        *out << "\n  port ";
        PrintTo(port, out);
    }
    *out << "\n  default printer " << Quoted(spooler.defaultPrinter);
}

void PrintTo(const SimServiceState& service, std::ostream* out) {
    PrintTo(service.config, out);
    *out << " state " << service.currentState
         << (service.markedForDelete ? " marked for delete" : "");
}

void PrintTo(const SimServicesSnapshot& services, std::ostream* out) {
    for (const SimServiceState& service : services.services) {
        *out << "\n  service ";
        PrintTo(service, out);
    }
}

void PrintTo(const SimRegistrySnapshot& registry, std::ostream* out) {
    for (const auto& [key, values] : registry.keys) {
        *out << "\n  key " << key;
        for (const auto& [name, value] : values)
            *out << "\n    " << name << " = \"" << value << '"';
    }
}

void PrintTo(const SimSnapshot& snapshot, std::ostream* out) {
    *out << "files:";
    PrintTo(snapshot.files, out);
    *out << "\nspooler:";
    PrintTo(snapshot.spooler, out);
    *out << "\nservices:";
    PrintTo(snapshot.services, out);
    *out << "\nregistry:";
    PrintTo(snapshot.registry, out);
}

} // namespace platform::sim

namespace platform {

using sim::Hex;
using sim::Quoted;

void PrintTo(const PrinterInfo2& queue, std::ostream* out) {
    *out << Quoted(queue.printerName) << " port " << Quoted(queue.portName) << " driver "
         << Quoted(queue.driverName) << " share " << Quoted(queue.shareName) << " processor "
         << Quoted(queue.printProcessor) << " datatype " << Quoted(queue.datatype) << " attributes "
         << Hex(queue.attributes) << " priority " << queue.priority << " default priority "
         << queue.defaultPriority << " status " << Hex(queue.status);
}

void PrintTo(const DriverInfo3& driver, std::ostream* out) {
    *out << Quoted(driver.name) << " for " << Quoted(driver.environment) << " version "
         << driver.version << " driver " << Quoted(driver.driverPath) << " data "
         << Quoted(driver.dataFile) << " config " << Quoted(driver.configFile) << " help "
         << Quoted(driver.helpFile) << " dependent files {";
    for (const std::u16string& name : driver.dependentFiles)
        *out << ' ' << Quoted(name);
    *out << " } monitor " << Quoted(driver.monitorName) << " datatype "
         << Quoted(driver.defaultDataType);
}

void PrintTo(const PortInfo2& port, std::ostream* out) {
    *out << Quoted(port.portName) << " monitor " << Quoted(port.monitorName);
}

void PrintTo(const ServiceConfig& config, std::ostream* out) {
    *out << Quoted(config.serviceName) << " display " << Quoted(config.displayName) << " type "
         << Hex(config.serviceType) << " start " << config.startType << " error control "
         << config.errorControl << " path " << Quoted(config.binaryPathName);
}

void PrintTo(const QueryServiceConfigRecord& config, std::ostream* out) {
    *out << "type " << Hex(config.serviceType) << " start " << config.startType << " error control "
         << config.errorControl << " path " << Quoted(config.binaryPathName) << " account "
         << Quoted(config.serviceStartName) << " display " << Quoted(config.displayName);
}

void PrintTo(const FileDacl& dacl, std::ostream* out) {
    *out << (dacl.isProtected ? "protected {" : "inheriting {");
    for (const AccessControlEntry& entry : dacl.entries)
        *out << ' ' << (entry.aceType == AccessAllowedAceType ? "allow " : "deny ")
             << sim::ToUtf8(entry.sid) << ' ' << Hex(entry.accessMask) << " flags "
             << Hex(entry.aceFlags) << ';';
    *out << " }";
}

} // namespace platform

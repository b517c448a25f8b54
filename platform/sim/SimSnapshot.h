// The simulated machine as a value: what its files, spooler, services and
// registry hold at one moment, comparable and printable, so that a test can
// state what an operation must leave behind and a failing comparison shows
// what differs.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "platform/Security.h"
#include "platform/Services.h"
#include "platform/Spooler.h"
#include "platform/sim/SimServices.h"

namespace platform::sim {

struct SimFilesSnapshot {
    // By Windows path ("C:\Windows\Temp\"), folders with a final backslash
    // and no bytes.
    std::map<std::string, std::string> files;
    // The lists set explicitly, by Windows path.
    std::map<std::string, FileDacl> security;

    friend bool operator==(const SimFilesSnapshot&, const SimFilesSnapshot&) = default;
};

struct SimSpoolerSnapshot {
    std::vector<PrinterInfo2> queues;
    std::map<std::u16string, std::vector<DriverInfo3>> drivers; // by folded environment
    std::vector<PortInfo2> ports;
    std::u16string defaultPrinter;

    friend bool operator==(const SimSpoolerSnapshot&, const SimSpoolerSnapshot&) = default;
};

struct SimServicesSnapshot {
    std::vector<SimServiceState> services;

    friend bool operator==(const SimServicesSnapshot&, const SimServicesSnapshot&) = default;
};

struct SimRegistrySnapshot {
    std::map<std::string, std::map<std::string, std::string>> keys;

    friend bool operator==(const SimRegistrySnapshot&, const SimRegistrySnapshot&) = default;
};

struct SimSnapshot {
    SimFilesSnapshot files;
    SimSpoolerSnapshot spooler;
    SimServicesSnapshot services;
    SimRegistrySnapshot registry;

    friend bool operator==(const SimSnapshot&, const SimSnapshot&) = default;
};

SimSnapshot TakeSnapshot();

// The printed lines only one of the two snapshots has: "- " for the
// expected one's, "+ " for the actual one's; empty when they are equal.
std::string DescribeDifference(const SimSnapshot& expected, const SimSnapshot& actual);

// One line per file, queue, driver, port, service and key.
void PrintTo(const SimFilesSnapshot& files, std::ostream* out);
void PrintTo(const SimSpoolerSnapshot& spooler, std::ostream* out);
void PrintTo(const SimServicesSnapshot& services, std::ostream* out);
void PrintTo(const SimRegistrySnapshot& registry, std::ostream* out);
void PrintTo(const SimSnapshot& snapshot, std::ostream* out);
void PrintTo(const SimServiceState& service, std::ostream* out);

} // namespace platform::sim

namespace platform {

// Found by GoogleTest through the records' own namespace.
void PrintTo(const PrinterInfo2& queue, std::ostream* out);
void PrintTo(const DriverInfo3& driver, std::ostream* out);
void PrintTo(const PortInfo2& port, std::ostream* out);
void PrintTo(const ServiceConfig& config, std::ostream* out);
void PrintTo(const QueryServiceConfigRecord& config, std::ostream* out);
void PrintTo(const FileDacl& dacl, std::ostream* out);

} // namespace platform

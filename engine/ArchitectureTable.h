// The one table from which every installation step takes its values for the
// machine's native processor architecture.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "wizard/PrinterCatalogue.h"

struct ArchitectureEntry {
    std::u16string_view environment;       // the spooler's environment name
    PrinterFileSet PrinterModel::*fileSet; // the catalogue's file set
    std::u16string_view subFolder;         // beside Setup, holds the service programs
    std::u16string_view fileSetName;       // the catalogue element's name
};

// Every architecture the catalogue knows, x64 first.
const std::array<ArchitectureEntry, 3>& AllArchitectures();

// 9 is x64, 6 Itanium; any other value counts as x86.
const ArchitectureEntry& ArchitectureFor(std::uint16_t processorArchitecture);

#include "engine/ArchitectureTable.h"

#include "platform/System.h"

const std::array<ArchitectureEntry, 3>& AllArchitectures() {
    static const std::array<ArchitectureEntry, 3> table{{
        {u"Windows x64", &PrinterModel::amd64, u"amd64\\", u"amd64"},
        {u"Windows IA64", &PrinterModel::ia64, u"ia64\\", u"ia64"},
        {u"Windows NT x86", &PrinterModel::i386, u"i386\\", u"i386"},
    }};
    return table;
}

const ArchitectureEntry& ArchitectureFor(std::uint16_t processorArchitecture) {
    const auto& table = AllArchitectures();
    switch (processorArchitecture) {
    case platform::ProcessorArchitectureAmd64:
        return table[0];
    case platform::ProcessorArchitectureIa64:
        return table[1];
    default:
        return table[2];
    }
}

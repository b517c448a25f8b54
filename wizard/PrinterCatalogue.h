// The printer catalogue read from config.xml: one entry per Printer element,
// in file order, each with the driver files of three architectures.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// A model's driver files for one architecture. Every path is the Setup
// folder, a backslash and the element's text; a missing element leaves its
// field empty.
struct PrinterFileSet {
    std::u16string Driver;
    std::u16string Data;
    std::u16string Config;
    std::u16string Help;
    std::vector<std::u16string> DependsFile; // in file order
    std::vector<std::u16string> Paper;       // texts as written, never paths

    friend bool operator==(const PrinterFileSet&, const PrinterFileSet&) = default;
};

// One model. Its name is also the driver's and the print queue's name.
struct PrinterModel {
    std::u16string name; // at most MaxModelNameLength characters
    PrinterFileSet i386;
    PrinterFileSet amd64;
    PrinterFileSet ia64;

    friend bool operator==(const PrinterModel&, const PrinterModel&) = default;
};

// Models with equal names stay side by side; only the first is ever found.
using PrinterCatalogue = std::vector<PrinterModel>;

// The limits of the frame's fixed buffers, terminator excluded.
constexpr std::size_t MaxModelNameLength = 499;
constexpr std::size_t MaxPathLength = 259;

// The first model whose name equals `name` exactly (case-sensitive, whole
// string), or nullptr.
const PrinterModel* FindPrinterModel(const PrinterCatalogue& catalogue, std::u16string_view name);

// Finding the attached printer of a model among the present USB devices:
// a device of vendor 0483 and product 5741 whose first child (its USB print
// device) names the model right after the child ID's first backslash.
#pragma once

#include <string>
#include <string_view>

struct PrinterDetection {
    bool detected = false;
    std::u16string port; // the last six characters of the matching child's ID
};

// Of several matching printers the last in enumeration order gives the
// port; a device whose child names another model gives nothing.
PrinterDetection DetectPrinter(std::u16string_view modelName);

// Whether the child ID names the model: the model without its hyphens
// equals the (up to) ten characters after the first backslash.
bool ChildNamesModel(std::u16string_view childId, std::u16string_view modelName);

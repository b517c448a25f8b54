// mediacheck's two forms of output and its exit code.
#pragma once

#include <string>

#include "tools/mediacheck/MediumReport.h"

constexpr int ExitAccepted = 0;
constexpr int ExitWarnings = 1;
constexpr int ExitRefused = 2;
constexpr int ExitUsage = 3;

// One line per finding as compilers write them, then the summary.
std::string ReportText(const MediumReport& report);
// The same as one JSON document.
std::string ReportJson(const MediumReport& report);
int ExitCodeOf(const MediumReport& report);

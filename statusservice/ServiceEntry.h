// The service program's skeleton: the entry that hands the process to the
// service control manager, the service main and the control handler.
#pragma once

#include <cstdint>

namespace statusservice {

// Returns the process's exit code, always 0.
int ProgramEntry();
void StatusServiceMain(std::uint32_t argc, char16_t** argv);
std::uint32_t StatusControlHandler(std::uint32_t control, std::uint32_t eventType, void* eventData,
                                   void* context);

} // namespace statusservice

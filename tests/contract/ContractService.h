// A minimal service, run by the contract suite's own program when the
// service control manager starts it: it reports running at once and stopped
// on a stop control, through the seam's dispatcher, handler and status calls.
#pragma once

namespace contract {

inline constexpr char ServiceModeArgument[] = "--contract-probe-service";
inline constexpr char16_t ProbeServiceName[] = u"VqContractProbe";

int RunProbeService();

} // namespace contract

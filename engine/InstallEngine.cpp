#include "engine/InstallEngine.h"

CInstallEngine::CInstallEngine(const PrinterCatalogue& catalogue,
                               std::uint16_t processorArchitecture)
    : m_catalogue(catalogue), m_processorArchitecture(processorArchitecture) {}

int CInstallEngine::GetErrorCode() const {
    return static_cast<int>(m_lastError);
}

int CInstallEngine::Fail(platform::WinError error) {
    m_lastError = error;
    return -1;
}

// The model's print queue and driver removed from the spooler, and the
// model's own driver files from the spooler's version directories.
#include <array>

#include "engine/ArchitectureTable.h"
#include "engine/EnginePaths.h"
#include "engine/InstallEngine.h"
#include "platform/Files.h"
#include "platform/Spooler.h"

using namespace platform;

namespace {

// Files other drivers share; never deleted.
constexpr std::array<std::u16string_view, 2> SharedFiles{u"UNIRES.DLL", u"STDNAMES.GPD"};

bool IsSharedFile(std::u16string_view name) {
    for (std::u16string_view shared : SharedFiles)
        if (EqualsIgnoringAsciiCase(name, shared))
            return true;
    return false;
}

// A missing file, or one in use, is skipped.
void DeleteIfThere(const std::u16string& path) {
    if (FitsPathBuffer(path))
        (void)DeleteFileW(path);
}

} // namespace

int CInstallEngine::RemovePrinter(std::u16string modelName) {
    const PrinterModel* model = FindPrinterModel(m_catalogue, modelName);
    if (!model)
        return -1;
    const ArchitectureEntry& architecture = ArchitectureFor(m_processorArchitecture);
    const PrinterFileSet& files = model->*architecture.fileSet;
    m_lastError = ErrorSuccess;

    const PrinterDefaults all{u"", PrinterAllAccess};
    Outcome<PrinterHandle> queue = OpenPrinterW(modelName, &all);
    if (!queue)
        return Fail(queue.error);
    if (Status deleted = DeletePrinter(queue.value); !deleted)
        return Fail(deleted.error);
    // The queue is gone; a failed close of its handle changes nothing.
    queue.value.Reset();

    if (Status removed = DeletePrinterDriverW(architecture.environment, modelName); !removed)
        return Fail(removed.error);

    Outcome<std::u16string> directory = GetPrinterDriverDirectoryW(architecture.environment);
    if (!directory)
        return 0;
    std::u16string root = WithBackslash(directory.value);
    for (char16_t version : {u'1', u'2', u'3', u'4'}) {
        std::u16string folder = root + version + u'\\';
        DeleteIfThere(folder + std::u16string(FileNamePart(files.Data)));
        for (const std::u16string& depends : files.DependsFile)
            if (std::u16string_view name = FileNamePart(depends); !IsSharedFile(name))
                DeleteIfThere(folder + std::u16string(name));
    }
    return 0;
}

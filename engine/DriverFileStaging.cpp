// Files put where they have to be before the spooler and the service control
// manager hear of them: the driver files into the spooler's driver directory
// and back out, the status service program into the installation folder.
#include "engine/ArchitectureTable.h"
#include "engine/EnginePaths.h"
#include "engine/EngineTrace.h"
#include "engine/InstallEngine.h"
#include "platform/Files.h"
#include "platform/Security.h"
#include "platform/Spooler.h"
#include "platform/System.h"

using namespace platform;

namespace {

// The file set's entries in the given order of the four main files, then the
// dependent files. An entry whose element the catalogue lacks names no file:
// copying it would "place" the driver folder itself.
std::vector<const std::u16string*> Entries(const PrinterFileSet& files,
                                           std::initializer_list<const std::u16string*> main) {
    std::vector<const std::u16string*> order;
    for (const std::u16string* entry : main)
        if (!entry->empty())
            order.push_back(entry);
    for (const std::u16string& depends : files.DependsFile)
        if (!depends.empty())
            order.push_back(&depends);
    return order;
}

} // namespace

Status CInstallEngine::CopyIntoFolder(std::u16string_view sourcePath, std::u16string_view folder) {
    std::u16string destination = WithBackslash(folder);
    destination += FileNamePart(sourcePath);
    if (!FitsPathBuffer(sourcePath) || !FitsPathBuffer(destination)) {
        TraceLastError(ErrorFilenameExcedRange);
        return Failure(ErrorFilenameExcedRange);
    }
    Status copied = CopyFileW(sourcePath, destination, false);
    TraceLastError(copied.error);
    // A file left from an earlier run counts as placed, even when this copy
    // failed; a folder of that name does not: the spooler would register the
    // driver without the file.
    Outcome<std::uint32_t> there = GetFileAttributesW(destination);
    if (there && (there.value & FileAttributeDirectory) == 0)
        return {};
    return Failure(!copied ? copied.error : there ? ErrorAccessDenied : there.error);
}

bool CInstallEngine::CopyFileIntoFolder(std::u16string sourcePath, std::u16string folder) {
    return CopyIntoFolder(sourcePath, folder).Ok();
}

Status CInstallEngine::PlaceFiles(const PrinterFileSet& files,
                                  std::u16string_view driverDirectory) {
    for (const std::u16string* source :
         Entries(files, {&files.Driver, &files.Config, &files.Data, &files.Help}))
        if (Status placed = CopyIntoFolder(*source, driverDirectory); !placed)
            return placed;
    return {};
}

bool CInstallEngine::PlaceDriverFiles(const PrinterFileSet& files,
                                      std::u16string_view driverDirectory) {
    return PlaceFiles(files, driverDirectory).Ok();
}

bool CInstallEngine::DeleteStagedDriverFiles(std::u16string_view environment,
                                             const PrinterFileSet& files) {
    Outcome<std::u16string> directory = GetPrinterDriverDirectoryW(environment);
    if (!directory)
        return false;
    std::u16string root = WithBackslash(directory.value);
    for (const std::u16string* entry :
         Entries(files, {&files.Driver, &files.Data, &files.Config, &files.Help})) {
        std::u16string staged = root + std::u16string(FileNamePart(*entry));
        // A file already gone, or one the spooler holds, stays as it is.
        if (FitsPathBuffer(staged))
            (void)DeleteFileW(staged);
    }
    return true;
}

// The service program runs as LocalSystem: only SYSTEM and Administrators
// may change the folder that holds it, users may read and run it, and
// nothing is inherited from the parent (a folder under C:\ would inherit
// "Authenticated Users: Modify"). A folder a user made before is still that
// user's, and an owner may rewrite any list: the owner gets no more than
// users do.
Status CInstallEngine::ProtectInstallFolder(std::u16string_view folder) {
    constexpr std::uint8_t inherit = ObjectInheritAce | ContainerInheritAce;
    const FileDacl protectedDacl{
        true,
        {{AccessAllowedAceType, inherit, FileAllAccess, std::u16string(SidLocalSystem)},
         {AccessAllowedAceType, inherit, FileAllAccess, std::u16string(SidAdministrators)},
         {AccessAllowedAceType, inherit, FileGenericReadExecute, std::u16string(SidUsers)},
         {AccessAllowedAceType, inherit, FileGenericReadExecute, std::u16string(SidOwnerRights)}}};
    return SetNamedSecurityInfoW(folder, protectedDacl);
}

namespace {

bool EndsWithServiceProgramSuffix(std::u16string_view name) {
    return name.size() >= ServiceProgramSuffix.size() &&
           EqualsIgnoringAsciiCase(name.substr(name.size() - ServiceProgramSuffix.size()),
                                   ServiceProgramSuffix);
}

// What a folder of Setup's own may hold: nothing but service programs (this
// model's from an earlier run, or other models' sharing the folder). A link
// would carry the folder's new list to whatever it leads to.
bool BelongsInOurFolder(const FindData& entry) {
    if (entry.fileName == u"." || entry.fileName == u"..")
        return true;
    return !(entry.fileAttributes & (FileAttributeDirectory | FileAttributeReparsePoint)) &&
           EndsWithServiceProgramSuffix(entry.fileName);
}

} // namespace

// Protecting a folder replaces its own list and pushes the new entries down
// through everything below it, so a folder Setup did not just create is
// protected only when it is plainly Setup's own. The browser may hand us C:\,
// a user's Desktop or a junction that leads elsewhere.
Status CInstallEngine::CheckFoundFolderIsOurs(std::u16string_view folder) {
    // A drive or share root is never an installation folder of ours.
    if (IsRootFolder(folder))
        return Failure(ErrorBadPathname);
    Outcome<std::uint32_t> attributes = GetFileAttributesW(folder);
    if (!attributes)
        return Failure(attributes.error);
    if (!(attributes.value & FileAttributeDirectory))
        return Failure(ErrorDirectory);
    // Its list and its program would be the target's, wherever that is.
    if (attributes.value & FileAttributeReparsePoint)
        return Failure(ErrorReparseAttributeConflict);

    Outcome<FindFirst> first = FindFirstFileW(WithBackslash(folder) + u"*");
    if (!first)
        return first.error == ErrorFileNotFound ? Status{} : Failure(first.error);
    if (!BelongsInOurFolder(first.value.data))
        return Failure(ErrorDirNotEmpty);
    for (;;) {
        Outcome<FindData> next = FindNextFileW(first.value.handle);
        if (!next)
            return next.error == ErrorNoMoreFiles ? Status{} : Failure(next.error);
        if (!BelongsInOurFolder(next.value))
            return Failure(ErrorDirNotEmpty);
    }
}

bool CInstallEngine::StageFiles(std::u16string modelName, std::u16string installFolder,
                                int unused) {
    (void)unused; // the model page passes 1; nothing depends on it
    m_serviceProgramPath.clear();
    Outcome<std::u16string> program = GetModuleFileNameW();
    if (!program) {
        TraceLastError(program.error);
        return false;
    }
    std::u16string_view programPath = program.value;
    std::u16string source(
        programPath.substr(0, programPath.size() - FileNamePart(programPath).size()));
    source += ArchitectureFor(m_processorArchitecture).subFolder;
    source += modelName;
    source += ServiceProgramSuffix;
    std::u16string destination = WithBackslash(installFolder);
    destination += FileNamePart(source);
    if (!FitsPathBuffer(installFolder) || !FitsPathBuffer(source) || !FitsPathBuffer(destination)) {
        TraceLastError(ErrorFilenameExcedRange);
        return false;
    }

    // Only the last level is created. A folder that was there already (or a
    // root, which cannot be created) is used only when it is Setup's own.
    Status created = CreateDirectoryW(installFolder);
    TraceLastError(created.error);
    if (!created) {
        if (Status ours = CheckFoundFolderIsOurs(installFolder); !ours) {
            TraceLastError(ours.error);
            return false;
        }
    }
    // Without protection the program is not placed: any user could replace it.
    if (Status secured = ProtectInstallFolder(installFolder); !secured) {
        TraceLastError(secured.error);
        return false;
    }

    // A program found there may have been put there while the folder was
    // open to users, with a list or an owner of theirs; a new copy takes the
    // folder's protection. A program in use stays, and the copy fails.
    (void)DeleteFileW(destination);
    Status copied = CopyFileW(source, destination, false);
    m_serviceProgramPath = destination;
    TraceLastError(copied.error);
    return GetFileAttributesW(destination).Ok();
}

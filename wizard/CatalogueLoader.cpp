#include "wizard/CatalogueLoader.h"

#include <optional>
#include <string>

#include "platform/Files.h"
#include "platform/System.h"
#include "wizard/CataloguePaths.h"
#include "xml/XmlDocument.h"

namespace {

constexpr std::u16string_view CatalogueName = u"\\config.xml";

struct FileSetEntry {
    std::u16string_view name;
    PrinterFileSet PrinterModel::*set;
};
constexpr FileSetEntry FileSets[] = {
    {u"i386", &PrinterModel::i386},
    {u"amd64", &PrinterModel::amd64},
    {u"ia64", &PrinterModel::ia64},
};

struct FileEntry {
    std::u16string_view name;
    CatalogueRole role;
    std::u16string PrinterFileSet::*field; // none for DependsFile
};
constexpr FileEntry FileEntries[] = {
    {u"Driver", CatalogueRole::Driver, &PrinterFileSet::Driver},
    {u"Data", CatalogueRole::Data, &PrinterFileSet::Data},
    {u"Config", CatalogueRole::Config, &PrinterFileSet::Config},
    {u"Help", CatalogueRole::Help, &PrinterFileSet::Help},
    {u"DependsFile", CatalogueRole::DependsFile, nullptr},
};

// One load: the walk of the document with the working model, and what it
// tells the observer. The result is false from the first failure on,
// whether or not the observer lets the walk go on.
class CCatalogueWalk {
  public:
    CCatalogueWalk(PrinterCatalogue& catalogue, ICatalogueObserver* observer)
        : m_catalogue(catalogue), m_observer(observer) {}

    bool Load(std::u16string_view programPath);

  private:
    bool WalkPrinters();
    bool WalkPrinter(const CatalogueElement& printer);
    bool WalkFileSet(PrinterFileSet& set, const CatalogueElement& fileSet);
    bool ReadFile(PrinterFileSet& set, const FileEntry& entry, const CatalogueElement& element);
    bool SeekNamed(std::u16string_view name, const CatalogueElement& within);
    CatalogueElement Current(CatalogueRole role, const CatalogueElement& within) const;
    CatalogueElement At(std::int32_t position, CatalogueRole role,
                        const CatalogueElement& within) const;
    void Report(const CatalogueElement& element) const;
    // Records a failure; true when the walk goes on past it.
    bool Fail(CatalogueFault fault, bool canGoOn, std::u16string_view path = {},
              const CatalogueElement* element = nullptr,
              platform::WinError error = platform::ErrorSuccess);

    PrinterCatalogue& m_catalogue;
    ICatalogueObserver* m_observer;
    xml::XmlDocument m_document;
    std::u16string m_setupFolder;
    PrinterModel m_model; // the working model, reused for every Printer
    bool m_failed = false;
};

bool CCatalogueWalk::Load(std::u16string_view programPath) {
    m_setupFolder = programPath;
    if (!RemoveFileSpec(m_setupFolder))
        return Fail(CatalogueFault::NoSetupFolder, false, programPath);
    std::u16string path = m_setupFolder + std::u16string(CatalogueName);
    if (m_observer)
        m_observer->OnCataloguePath(m_setupFolder, path);
    // Never truncated: a cut path would name another file.
    if (path.size() > MaxPathLength)
        return Fail(CatalogueFault::CataloguePathTooLong, false, path);
    bool exists = platform::PathFileExistsW(path);
    if (m_observer)
        m_observer->OnPathTested({nullptr, path, exists});
    if (!exists)
        return Fail(CatalogueFault::CatalogueMissing, false, path);
    m_document.AssignText(std::nullopt); // clearing an empty document reports false
    bool loaded = m_document.LoadFile(path);
    if (m_observer)
        m_observer->OnDocument(m_document, loaded);
    if (!loaded)
        return Fail(CatalogueFault::DocumentNotLoaded, false, path);
    return WalkPrinters() && !m_failed;
}

bool CCatalogueWalk::WalkPrinters() {
    CatalogueElement document;
    document.role = CatalogueRole::Document;
    m_document.RewindLevel();
    if (!SeekNamed(u"Printers", document))
        return Fail(CatalogueFault::NoPrintersElement, false);
    const CatalogueElement printers = Current(CatalogueRole::Printers, document);
    Report(printers);
    m_document.EnterElement();
    while (SeekNamed(u"Printer", printers)) {
        if (!WalkPrinter(Current(CatalogueRole::Printer, printers)))
            return false;
    }
    m_document.LeaveElement();
    return true;
}

bool CCatalogueWalk::WalkPrinter(const CatalogueElement& found) {
    m_model.name = m_document.ReadAttribute(m_document.CursorPos(), u"name");
    CatalogueElement printer = found;
    printer.model = m_catalogue.size();
    printer.modelName = m_model.name;
    Report(printer);
    // Never truncated: a cut name would install another model's queue.
    if (m_model.name.size() > MaxModelNameLength &&
        !Fail(CatalogueFault::ModelNameTooLong, true, {}, &printer))
        return false;
    for (const FileSetEntry& entry : FileSets)
        m_model.*entry.set = PrinterFileSet{};
    m_document.EnterElement();
    while (m_document.SeekElement()) {
        const std::u16string name = m_document.ReadTagName();
        const FileSetEntry* fileSet = nullptr;
        for (const FileSetEntry& entry : FileSets)
            if (name == entry.name)
                fileSet = &entry;
        if (!fileSet) {
            Report(Current(CatalogueRole::Skipped, printer));
            continue;
        }
        CatalogueElement element = Current(CatalogueRole::FileSet, printer);
        element.architecture = fileSet->name;
        Report(element);
        if (!WalkFileSet(m_model.*fileSet->set, element))
            return false;
    }
    m_document.LeaveElement();
    m_catalogue.push_back(m_model);
    if (m_observer)
        m_observer->OnModel(m_catalogue.back(), printer);
    return true;
}

bool CCatalogueWalk::WalkFileSet(PrinterFileSet& set, const CatalogueElement& fileSet) {
    m_document.EnterElement();
    while (m_document.SeekElement()) {
        const std::u16string name = m_document.ReadTagName();
        const FileEntry* file = nullptr;
        for (const FileEntry& entry : FileEntries)
            if (name == entry.name)
                file = &entry;
        if (file) {
            if (!ReadFile(set, *file, Current(file->role, fileSet)))
                return false;
        } else if (name == u"Paper") {
            set.Paper.push_back(m_document.ReadContent(m_document.CursorPos()));
            CatalogueElement paper = Current(CatalogueRole::Paper, fileSet);
            paper.text = set.Paper.back();
            Report(paper);
        } else {
            Report(Current(CatalogueRole::Skipped, fileSet));
        }
    }
    m_document.LeaveElement();
    return true;
}

bool CCatalogueWalk::ReadFile(PrinterFileSet& set, const FileEntry& entry,
                              const CatalogueElement& found) {
    const std::u16string text = m_document.ReadContent(m_document.CursorPos());
    CatalogueElement element = found;
    element.text = text;
    Report(element);
    std::u16string path = JoinPath(m_setupFolder, text);
    if (path.size() > MaxPathLength) {
        // Kept whole, for an observer that walks on; the load fails anyway.
        if (!Fail(CatalogueFault::FilePathTooLong, true, path, &element))
            return false;
    } else {
        bool exists = platform::PathFileExistsW(path);
        if (m_observer)
            m_observer->OnPathTested({&element, path, exists});
        if (!exists && !Fail(CatalogueFault::FileMissing, true, path, &element))
            return false;
    }
    if (entry.field)
        set.*entry.field = std::move(path);
    else
        set.DependsFile.push_back(std::move(path));
    return true;
}

// SeekElement with a name, telling the observer of every element it passes.
bool CCatalogueWalk::SeekNamed(std::u16string_view name, const CatalogueElement& within) {
    const std::int32_t cursor = m_document.CursorPos();
    bool found = m_document.SeekElement(name);
    if (m_observer) {
        std::int32_t passed = cursor != 0 ? m_document.Record(cursor).nextSibling
                                          : m_document.Record(m_document.LevelPos()).firstChild;
        const std::int32_t end = found ? m_document.CursorPos() : 0;
        for (; passed != 0 && passed != end; passed = m_document.Record(passed).nextSibling)
            Report(At(passed, CatalogueRole::Skipped, within));
    }
    return found;
}

CatalogueElement CCatalogueWalk::Current(CatalogueRole role, const CatalogueElement& within) const {
    return At(m_document.CursorPos(), role, within);
}

CatalogueElement CCatalogueWalk::At(std::int32_t position, CatalogueRole role,
                                    const CatalogueElement& within) const {
    const xml::ElementRecord& record = m_document.Record(position);
    CatalogueElement element;
    element.position = position;
    element.offset = record.start;
    element.tagName =
        xml::ScanTagName(m_document.Text(), record.start, record.start + record.StartTagLength());
    element.role = role;
    element.within = within.role;
    element.model = within.model;
    element.modelName = within.modelName;
    element.architecture = within.architecture;
    return element;
}

void CCatalogueWalk::Report(const CatalogueElement& element) const {
    if (m_observer)
        m_observer->OnElement(element);
}

bool CCatalogueWalk::Fail(CatalogueFault fault, bool canGoOn, std::u16string_view path,
                          const CatalogueElement* element, platform::WinError error) {
    m_failed = true;
    if (!m_observer)
        return false;
    CatalogueWalk answer = m_observer->OnFailure({fault, error, path, element});
    return canGoOn && answer == CatalogueWalk::KeepWalking;
}

} // namespace

bool LoadCatalogueBeside(std::u16string_view programPath, PrinterCatalogue& catalogue,
                         ICatalogueObserver* observer) {
    catalogue.clear();
    return CCatalogueWalk(catalogue, observer).Load(programPath);
}

bool LoadCatalogue(PrinterCatalogue& catalogue, ICatalogueObserver* observer) {
    catalogue.clear();
    auto program = platform::GetModuleFileNameW();
    if (!program) {
        if (observer)
            observer->OnFailure({CatalogueFault::ModulePathUnknown, program.error, {}, nullptr});
        return false;
    }
    return LoadCatalogueBeside(program.value, catalogue, observer);
}

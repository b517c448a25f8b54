#include "tools/mediacheck/MediumCheck.h"

#include <algorithm>
#include <array>
#include <map>

#include "engine/ArchitectureTable.h"
#include "engine/EnginePaths.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "tools/mediacheck/DocumentLog.h"
#include "tools/mediacheck/TextPlaces.h"
#include "wizard/CatalogueLoader.h"
#include "wizard/CataloguePaths.h"
#include "xml/XmlDocument.h"

namespace {

constexpr std::uint32_t SystemMessageChars = 200;

std::u16string Decimal(std::int64_t value) {
    std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string Quoted(std::u16string_view text) {
    return u"\"" + std::u16string(text) + u"\"";
}

std::u16string SystemError(platform::WinError error) {
    auto message = platform::FormatMessageW(error, SystemMessageChars);
    std::u16string text = message ? message.value : std::u16string();
    text = text.substr(0, text.find_first_of(u"\r\n"));
    return u"(system error " + Decimal(error) + u": " + text + u")";
}

const char16_t* RoleWord(CatalogueRole role) {
    switch (role) {
    case CatalogueRole::Driver:
        return u"Driver";
    case CatalogueRole::Data:
        return u"Data";
    case CatalogueRole::Config:
        return u"Config";
    case CatalogueRole::Help:
        return u"Help";
    case CatalogueRole::DependsFile:
        return u"DependsFile";
    default:
        return u"";
    }
}

// The names the walk reads where an element stands.
std::vector<std::u16string_view> ExpectedNames(CatalogueRole within) {
    switch (within) {
    case CatalogueRole::Printers:
        return {u"Printer"};
    case CatalogueRole::Printer:
        return {u"i386", u"amd64", u"ia64"};
    case CatalogueRole::FileSet:
        return {u"Driver", u"Data", u"Config", u"Help", u"DependsFile", u"Paper"};
    default:
        return {};
    }
}

// A file element of the model being walked.
struct ModelFile {
    CatalogueRole role;
    std::u16string architecture;
    std::u16string path;
    TextPlace place;
};

// Hears the walk, turns what it hears into findings, and checks each model
// once it has been appended.
class CMediumObserver : public ICatalogueObserver {
  public:
    explicit CMediumObserver(MediumReport& report) : m_report(report) {}

    void OnCataloguePath(std::u16string_view setupFolder, std::u16string_view path) override {
        m_setupFolder = setupFolder;
        m_report.catalogue = path;
    }

    void OnDocument(const xml::XmlDocument& document, bool loaded) override {
        m_document = &document;
        m_text = document.Text();
        m_places = CTextPlaces(m_text);
        ReadEncoding encoding = EncodingOf(document);
        m_report.encoding = encoding.name;
        m_report.encodingSource = encoding.source;
        (void)loaded; // a failed load is reported as the walk's failure
    }

    void OnElement(const CatalogueElement& element) override;
    CatalogueWalk OnFailure(const CatalogueFailure& failure) override;
    void OnModel(const PrinterModel& model, const CatalogueElement& printer) override;

  private:
    TextPlace PlaceOf(const CatalogueElement& element) const {
        return m_places.PlaceOf(element.offset);
    }
    void Add(Severity severity, std::optional<TextPlace> place, std::u16string text) {
        Finding finding{severity, place, std::move(text), false};
        if (severity == Severity::Error && !m_stopMarked) {
            finding.setupStopsHere = true;
            m_stopMarked = true;
        }
        m_report.findings.push_back(std::move(finding));
    }
    void CheckName(const CatalogueElement& printer);
    void CheckSkipped(const CatalogueElement& element);
    void CheckFileSets(const PrinterModel& model, const TextPlace& printer);
    void CheckSameFileNames(const PrinterModel& model);
    void CheckServicePrograms(const PrinterModel& model, const TextPlace& printer);
    std::u16string Where(const CatalogueElement& element) const {
        return u"model " + Quoted(element.modelName) + u" (" +
               std::u16string(element.architecture) + u")";
    }

    MediumReport& m_report;
    std::u16string m_setupFolder;
    const xml::XmlDocument* m_document = nullptr; // only while the walk runs
    std::u16string m_text;
    CTextPlaces m_places;
    bool m_stopMarked = false;
    std::optional<TextPlace> m_topElement;
    std::u16string m_topName;
    std::vector<ModelFile> m_files;                    // of the model being walked
    std::map<std::u16string, TextPlace> m_fileSetSeen; // architecture: first element
    std::map<std::u16string, TextPlace> m_names;       // model names seen, first place
};

void CMediumObserver::OnElement(const CatalogueElement& element) {
    switch (element.role) {
    case CatalogueRole::Printer:
        m_files.clear();
        m_fileSetSeen.clear();
        CheckName(element);
        break;
    case CatalogueRole::FileSet:
        m_fileSetSeen.emplace(element.architecture, PlaceOf(element));
        break;
    case CatalogueRole::Driver:
    case CatalogueRole::Data:
    case CatalogueRole::Config:
    case CatalogueRole::Help:
    case CatalogueRole::DependsFile:
        m_files.push_back({element.role, std::u16string(element.architecture),
                           JoinPath(m_setupFolder, element.text), PlaceOf(element)});
        if (element.text.ends_with(u' ') || element.text.ends_with(u'.'))
            Add(Severity::Warning, PlaceOf(element),
                u"the path of <" + std::u16string(RoleWord(element.role)) +
                    u"> ends in a blank or a dot, which Windows drops from a file name");
        break;
    case CatalogueRole::Paper:
        if (element.text.empty())
            Add(Severity::Warning, PlaceOf(element), u"empty <Paper> element in " + Where(element));
        break;
    case CatalogueRole::Skipped:
        CheckSkipped(element);
        break;
    case CatalogueRole::Document:
    case CatalogueRole::Printers:
        break;
    }
}

void CMediumObserver::CheckName(const CatalogueElement& printer) {
    const xml::ElementRecord& record = m_document->Record(printer.position);
    const bool hasName =
        xml::LocateAttribute(m_text, record.start + 1, record.start + record.StartTagLength(),
                             u"name", false)
            .found;
    if (!hasName) {
        Add(Severity::Warning, PlaceOf(printer),
            u"<Printer> without a name attribute: the model is listed with an empty name");
    } else if (printer.modelName.empty()) {
        Add(Severity::Warning, PlaceOf(printer),
            u"empty model name: the spooler refuses it as a driver and printer name");
    } else if (printer.modelName.find_first_of(u",\\") != std::u16string_view::npos) {
        Add(Severity::Warning, PlaceOf(printer),
            u"model name " + Quoted(printer.modelName) +
                u" contains \",\" or \"\\\": the spooler refuses it as a printer name");
    }
}

void CMediumObserver::CheckSkipped(const CatalogueElement& element) {
    if (element.within == CatalogueRole::Document) {
        if (!m_topElement) {
            m_topElement = PlaceOf(element);
            m_topName = element.tagName;
        }
        return; // the missing <Printers> is the error
    }
    for (std::u16string_view expected : ExpectedNames(element.within)) {
        if (EqualsIgnoringAsciiCase(element.tagName, expected)) {
            Add(Severity::Warning, PlaceOf(element),
                u"<" + std::u16string(element.tagName) + u"> is skipped: names are compared " +
                    u"letter case included; did you mean <" + std::u16string(expected) + u">?");
            return;
        }
    }
}

CatalogueWalk CMediumObserver::OnFailure(const CatalogueFailure& failure) {
    const CatalogueElement* element = failure.element;
    std::optional<TextPlace> place;
    if (element)
        place = PlaceOf(*element);
    const std::u16string path(failure.path);
    switch (failure.fault) {
    case CatalogueFault::ModulePathUnknown:
        Add(Severity::Error, place,
            u"the program's own path is unknown " + SystemError(failure.error));
        break;
    case CatalogueFault::NoSetupFolder:
        Add(Severity::Error, place, u"no folder in the path " + Quoted(path));
        break;
    case CatalogueFault::CataloguePathTooLong:
        Add(Severity::Error, place,
            u"the path of config.xml has " + Decimal(static_cast<std::int64_t>(path.size())) +
                u" characters; Setup reads at most " + Decimal(MaxPathLength) + u": " + path);
        break;
    case CatalogueFault::CatalogueMissing:
        Add(Severity::Error, place,
            u"config.xml is missing: " + path + u" " +
                SystemError(platform::GetFileAttributesW(path).error));
        break;
    case CatalogueFault::DocumentNotLoaded: {
        std::vector<Finding> errors = LoadErrors(*m_document, m_places);
        // They are one failure: Setup stops at the first of them in the file.
        std::stable_sort(errors.begin(), errors.end(),
                         [](const Finding& a, const Finding& b) { return a.place < b.place; });
        const std::optional<TextPlace> first = errors.front().place;
        for (Finding& error : errors)
            Add(Severity::Error, error.place, std::move(error.text));
        if (!m_report.encodingSource.empty())
            Add(Severity::Note, first,
                u"the text was read as " +
                    (m_report.encoding.empty() ? u"the ANSI code page" : m_report.encoding) +
                    u" (" + m_report.encodingSource + u")");
        break;
    }
    case CatalogueFault::NoPrintersElement:
        if (m_topElement && EqualsIgnoringAsciiCase(m_topName, u"Printers"))
            Add(Severity::Error, m_topElement,
                u"the top-level element is <" + m_topName +
                    u">, not <Printers>: names are compared letter case included");
        else if (m_topElement)
            Add(Severity::Error, m_topElement,
                u"the top-level element is <" + m_topName + u">, not <Printers>");
        else
            Add(Severity::Error, std::nullopt, u"no top-level element <Printers>");
        break;
    case CatalogueFault::ModelNameTooLong:
        Add(Severity::Error, place,
            u"the model name has " + Decimal(static_cast<std::int64_t>(element->modelName.size())) +
                u" characters; Setup takes at most " + Decimal(MaxModelNameLength));
        break;
    case CatalogueFault::FilePathTooLong:
        Add(Severity::Error, place,
            u"<" + std::u16string(RoleWord(element->role)) + u"> of " + Where(*element) +
                u": the path has " + Decimal(static_cast<std::int64_t>(path.size())) +
                u" characters; Setup takes at most " + Decimal(MaxPathLength) + u": " + path);
        break;
    case CatalogueFault::FileMissing:
        Add(Severity::Error, place,
            u"<" + std::u16string(RoleWord(element->role)) + u"> of " + Where(*element) +
                u": no such file: " + path);
        break;
    }
    return CatalogueWalk::KeepWalking;
}

void CMediumObserver::OnModel(const PrinterModel& model, const CatalogueElement& printer) {
    const TextPlace place = PlaceOf(printer);
    ModelSummary summary{model.name, place, {}};
    for (const ArchitectureEntry& entry : AllArchitectures()) {
        const PrinterFileSet& set = model.*entry.fileSet;
        std::size_t files = set.DependsFile.size();
        for (const std::u16string* single : {&set.Driver, &set.Data, &set.Config, &set.Help})
            files += single->empty() ? 0 : 1;
        summary.fileSets.push_back({std::u16string(entry.fileSetName), files});
    }
    m_report.models.push_back(std::move(summary));

    auto [first, isNew] = m_names.emplace(model.name, place);
    if (!isNew)
        Add(Severity::Warning, place,
            u"model name " + Quoted(model.name) + u" was used at line " +
                Decimal(first->second.line) +
                u": only the first model is ever installed or removed");
    CheckFileSets(model, place);
    CheckSameFileNames(model);
    CheckServicePrograms(model, place);
}

void CMediumObserver::CheckFileSets(const PrinterModel& model, const TextPlace& printer) {
    for (const ArchitectureEntry& entry : AllArchitectures()) {
        const std::u16string name(entry.fileSetName);
        auto seen = m_fileSetSeen.find(name);
        if (seen == m_fileSetSeen.end()) {
            // ia64 is optional: no Windows for Itanium is still in use.
            if (entry.fileSetName != u"ia64")
                Add(Severity::Warning, printer,
                    u"model " + Quoted(model.name) + u" has no " + name +
                        u" file set: Setup fails to install it on " +
                        std::u16string(entry.environment));
        } else if ((model.*entry.fileSet).Driver.empty()) {
            Add(Severity::Warning, seen->second,
                u"the " + name + u" file set of model " + Quoted(model.name) + u" has no Driver");
        }
    }
}

void CMediumObserver::CheckSameFileNames(const PrinterModel& model) {
    // Only the last of several Driver, Data, Config or Help elements counts.
    std::vector<const ModelFile*> counted;
    for (std::size_t i = 0; i < m_files.size(); ++i) {
        const ModelFile& file = m_files[i];
        bool overridden = file.role != CatalogueRole::DependsFile &&
                          std::any_of(m_files.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                      m_files.end(), [&](const ModelFile& later) {
                                          return later.role == file.role &&
                                                 later.architecture == file.architecture;
                                      });
        if (!overridden)
            counted.push_back(&file);
    }
    for (std::size_t i = 0; i < counted.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            const ModelFile& earlier = *counted[j];
            const ModelFile& later = *counted[i];
            if (earlier.architecture != later.architecture ||
                !EqualsIgnoringAsciiCase(FileNamePart(earlier.path), FileNamePart(later.path)))
                continue;
            const std::u16string where =
                u" in the " + later.architecture + u" file set of model " + Quoted(model.name);
            if (EqualsIgnoringAsciiCase(earlier.path, later.path) &&
                (earlier.role == CatalogueRole::DependsFile) !=
                    (later.role == CatalogueRole::DependsFile)) {
                const ModelFile& main =
                    earlier.role == CatalogueRole::DependsFile ? later : earlier;
                Add(Severity::Warning, later.place,
                    u"DependsFile repeats the " + std::u16string(RoleWord(main.role)) + u" file" +
                        where);
            } else {
                Add(Severity::Warning, later.place,
                    std::u16string(RoleWord(later.role)) + u" has the file name " +
                        Quoted(FileNamePart(later.path)) + u" of the " + RoleWord(earlier.role) +
                        u" at line " + Decimal(earlier.place.line) + where +
                        u": both land on the same destination file");
            }
            break;
        }
    }
}

void CMediumObserver::CheckServicePrograms(const PrinterModel& model, const TextPlace& printer) {
    for (const ArchitectureEntry& entry : AllArchitectures()) {
        if (entry.fileSetName == u"ia64")
            continue; // no status monitor is built for Itanium
        const std::u16string path =
            JoinPath(m_setupFolder, std::u16string(entry.subFolder) + model.name +
                                        std::u16string(ServiceProgramSuffix));
        if (!platform::PathFileExistsW(path))
            Add(Severity::Warning, printer,
                u"model " + Quoted(model.name) + u" has no " + std::u16string(entry.subFolder) +
                    model.name + std::u16string(ServiceProgramSuffix) +
                    u": the status monitor would be registered with a missing program: " + path);
    }
}

std::u16string ProgramPathIn(std::u16string_view folder) {
    std::u16string path(folder);
    // "C:\" keeps its backslash, so that the program lies in the root.
    while (path.size() > 1 && path.back() == u'\\' && !(path.size() == 3 && path[1] == u':'))
        path.pop_back();
    if (path.empty() || path.back() != u'\\')
        path += u'\\';
    return path + u"Setup.exe";
}

} // namespace

std::size_t MediumReport::Count(Severity severity) const {
    return static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(),
                      [&](const Finding& finding) { return finding.severity == severity; }));
}

MediumReport CheckMedium(std::u16string_view mediumFolder) {
    MediumReport report;
    report.medium = mediumFolder;
    CMediumObserver observer(report);
    PrinterCatalogue catalogue;
    report.setupAccepts = LoadCatalogueBeside(ProgramPathIn(mediumFolder), catalogue, &observer);
    // Findings without a place first, then in the order of config.xml.
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.place < b.place; });
    return report;
}

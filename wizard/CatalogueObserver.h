// What the catalogue walk reports while it loads config.xml. Setup passes no
// observer; the medium checker passes one that prints. Every failure the
// observer hears of is one that makes the load return false, and every such
// failure is heard of.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Error.h"
#include "wizard/PrinterCatalogue.h"

namespace xml {
class XmlDocument;
}

// What an element is to the walk, by its name and where it stands.
enum class CatalogueRole {
    Document, // the level above the top element; never an element itself
    Printers,
    Printer,
    FileSet, // i386, amd64 or ia64
    Driver,
    Data,
    Config,
    Help,
    DependsFile,
    Paper,
    Skipped, // passed over with everything inside it
};

// An element the walk read or passed over. The views live only during the
// call that receives them.
struct CatalogueElement {
    std::int32_t position = 0; // its record in the document
    std::int32_t offset = 0;   // its "<" in the document's text
    std::u16string_view tagName;
    CatalogueRole role = CatalogueRole::Skipped;
    CatalogueRole within = CatalogueRole::Document; // the element it stands in
    std::size_t model = 0;                          // inside a Printer: the index its model gets
    std::u16string_view modelName;                  // inside a Printer: the name as read
    std::u16string_view architecture;               // inside a file set: its element name
    std::u16string_view text;                       // of a file or Paper element: its content
};

// An existence test of a path the catalogue names.
struct CataloguePathTest {
    const CatalogueElement* element = nullptr; // none for config.xml itself
    std::u16string_view path;
    bool exists = false;
};

enum class CatalogueFault {
    ModulePathUnknown,    // the program's own path could not be had (error)
    NoSetupFolder,        // nothing to cut off the program's path
    CataloguePathTooLong, // the Setup folder and "\config.xml" exceed MaxPathLength
    CatalogueMissing,     // nothing at the catalogue path
    DocumentNotLoaded,    // unreadable or not well-formed; the document's log says which
    NoPrintersElement,    // no top-level element named exactly "Printers"
    ModelNameTooLong,     // a name attribute beyond MaxModelNameLength
    FilePathTooLong,      // a file's full path beyond MaxPathLength
    FileMissing,          // nothing at a file's full path
};

struct CatalogueFailure {
    CatalogueFault fault = CatalogueFault::CatalogueMissing;
    platform::WinError error = platform::ErrorSuccess; // the system's code, where one was met
    std::u16string_view path;                          // the path concerned, if any
    const CatalogueElement* element = nullptr;         // the element concerned, if any
};

// The observer's answer to a failure. Only failures inside the catalogue's
// models (a limit, a missing file) can be walked past; the load still
// returns false.
enum class CatalogueWalk { Stop, KeepWalking };

class ICatalogueObserver {
  public:
    virtual ~ICatalogueObserver() = default;

    virtual void OnCataloguePath(std::u16string_view setupFolder, std::u16string_view path) {
        (void)setupFolder;
        (void)path;
    }
    // The document after LoadFile: its text, result log and flags. It lives
    // until the load returns.
    virtual void OnDocument(const xml::XmlDocument& document, bool loaded) {
        (void)document;
        (void)loaded;
    }
    virtual void OnElement(const CatalogueElement& element) { (void)element; }
    virtual void OnPathTested(const CataloguePathTest& test) { (void)test; }
    // A model was appended to the catalogue; printer is its Printer element.
    virtual void OnModel(const PrinterModel& model, const CatalogueElement& printer) {
        (void)model;
        (void)printer;
    }
    virtual CatalogueWalk OnFailure(const CatalogueFailure& failure) {
        (void)failure;
        return CatalogueWalk::Stop;
    }
};

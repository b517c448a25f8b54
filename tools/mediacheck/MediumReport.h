// What mediacheck found on a medium: the findings, in the order of their
// place in config.xml, and the models with their file counts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

enum class Severity { Error, Warning, Note };

// A place in config.xml: line and column count from 1, the column in
// characters.
struct TextPlace {
    std::int32_t line = 0;
    std::int32_t column = 0;

    friend bool operator==(const TextPlace&, const TextPlace&) = default;
    friend auto operator<=>(const TextPlace&, const TextPlace&) = default;
};

struct Finding {
    Severity severity = Severity::Error;
    std::optional<TextPlace> place; // none: about the file as a whole
    std::u16string text;
    bool setupStopsHere = false; // the error at which Setup gives up

    friend bool operator==(const Finding&, const Finding&) = default;
};

struct FileSetSummary {
    std::u16string architecture;
    std::size_t files = 0; // Driver, Data, Config, Help and DependsFile entries

    friend bool operator==(const FileSetSummary&, const FileSetSummary&) = default;
};

struct ModelSummary {
    std::u16string name;
    TextPlace place;
    std::vector<FileSetSummary> fileSets; // in the architecture table's order

    friend bool operator==(const ModelSummary&, const ModelSummary&) = default;
};

struct MediumReport {
    std::u16string medium;     // the folder checked, as the machine names it
    std::u16string catalogue;  // the path of its config.xml
    bool setupAccepts = false; // what LoadCatalogue returned
    std::u16string encoding;   // as the document was read; empty: not read
    std::u16string encodingSource;
    std::vector<Finding> findings;
    std::vector<ModelSummary> models;

    std::size_t Count(Severity severity) const;

    friend bool operator==(const MediumReport&, const MediumReport&) = default;
};

void PrintTo(const Finding& finding, std::ostream* out);

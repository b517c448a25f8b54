#include "tools/mediacheck/ReportOutput.h"

#include "tools/xmlinspect/InspectOutput.h"

namespace {

const char* SeverityWord(Severity severity) {
    switch (severity) {
    case Severity::Error:
        return "error";
    case Severity::Warning:
        return "warning";
    case Severity::Note:
        break;
    }
    return "note";
}

std::string Plural(std::size_t count, const char* word) {
    return std::to_string(count) + " " + word + (count == 1 ? "" : "s");
}

std::string Verdict(const MediumReport& report) {
    return report.setupAccepts ? "Setup accepts this medium" : "Setup refuses this medium";
}

const char* StopMark = "Setup stops at this error";

} // namespace

void PrintTo(const Finding& finding, std::ostream* out) {
    *out << SeverityWord(finding.severity);
    if (finding.place)
        *out << " at " << finding.place->line << ":" << finding.place->column;
    *out << ": " << Utf8Of(finding.text) << (finding.setupStopsHere ? " [stops]" : "");
}

std::string ReportText(const MediumReport& report) {
    std::string out;
    for (const Finding& finding : report.findings) {
        out += "config.xml:";
        if (finding.place)
            out += std::to_string(finding.place->line) + ":" +
                   std::to_string(finding.place->column) + ":";
        out += std::string(" ") + SeverityWord(finding.severity) + ": " + Utf8Of(finding.text);
        if (finding.setupStopsHere)
            out += std::string(" [") + StopMark + "]";
        out += "\n";
    }
    out += "medium: " + Utf8Of(report.medium) + "\n";
    if (!report.encodingSource.empty())
        out += "config.xml read as " +
               (report.encoding.empty() ? std::string("the ANSI code page")
                                        : Utf8Of(report.encoding)) +
               " (" + Utf8Of(report.encodingSource) + ")\n";
    for (const ModelSummary& model : report.models) {
        out += "model " + JsonOf(model.name) + " at line " + std::to_string(model.place.line) + ":";
        const char* separator = " ";
        for (const FileSetSummary& set : model.fileSets) {
            out += separator + Utf8Of(set.architecture) + " " + Plural(set.files, "file");
            separator = ", ";
        }
        out += "\n";
    }
    out += Plural(report.models.size(), "model") + ", " +
           Plural(report.Count(Severity::Error), "error") + ", " +
           Plural(report.Count(Severity::Warning), "warning") + ": " + Verdict(report) + "\n";
    return out;
}

std::string ReportJson(const MediumReport& report) {
    std::string out = "{\n";
    out += "  \"medium\": " + JsonOf(report.medium) + ",\n";
    out += "  \"catalogue\": " + JsonOf(report.catalogue) + ",\n";
    out += std::string("  \"setupAccepts\": ") + (report.setupAccepts ? "true" : "false") + ",\n";
    if (report.encodingSource.empty())
        out += "  \"encoding\": null,\n";
    else
        out += "  \"encoding\": {\"name\": " + JsonOf(report.encoding) +
               ", \"source\": " + JsonOf(report.encodingSource) + "},\n";
    out += "  \"findings\": [";
    const char* separator = "\n";
    for (const Finding& finding : report.findings) {
        out += separator;
        out += "    {\"file\": \"config.xml\", ";
        if (finding.place)
            out += "\"line\": " + std::to_string(finding.place->line) +
                   ", \"column\": " + std::to_string(finding.place->column) + ", ";
        else
            out += "\"line\": null, \"column\": null, ";
        out += std::string("\"severity\": \"") + SeverityWord(finding.severity) + "\", ";
        out += "\"text\": " + JsonOf(finding.text) + ", ";
        out +=
            std::string("\"setupStopsHere\": ") + (finding.setupStopsHere ? "true" : "false") + "}";
        separator = ",\n";
    }
    out += report.findings.empty() ? "],\n" : "\n  ],\n";
    out += "  \"models\": [";
    separator = "\n";
    for (const ModelSummary& model : report.models) {
        out += separator;
        out += "    {\"name\": " + JsonOf(model.name) +
               ", \"line\": " + std::to_string(model.place.line) + ", \"files\": {";
        const char* inner = "";
        for (const FileSetSummary& set : model.fileSets) {
            out += inner + JsonOf(set.architecture) + ": " + std::to_string(set.files);
            inner = ", ";
        }
        out += "}}";
        separator = ",\n";
    }
    out += report.models.empty() ? "],\n" : "\n  ],\n";
    out += "  \"errors\": " + std::to_string(report.Count(Severity::Error)) + ",\n";
    out += "  \"warnings\": " + std::to_string(report.Count(Severity::Warning)) + "\n";
    out += "}\n";
    return out;
}

int ExitCodeOf(const MediumReport& report) {
    if (report.Count(Severity::Error) > 0)
        return ExitRefused;
    return report.Count(Severity::Warning) > 0 ? ExitWarnings : ExitAccepted;
}

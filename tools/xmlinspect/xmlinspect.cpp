// xmlinspect [--text] [--attr NAME]... FILE
//
// Loads FILE into an XML document, as the wizard loads its catalogue (or,
// with --text, hands its UTF-8 text to the document), and prints the outcome,
// the flags, the result log and every element, so that a medium's files can
// be checked and the platforms compared.
#include <cstdio>
#include <optional>

#include "platform/CommandLine.h"
#include "platform/Files.h"
#include "platform/System.h"
#include "tools/xmlinspect/InspectOutput.h"
#include "tools/xmlinspect/MachinePath.h"
#include "xml/XmlDocument.h"

namespace {

constexpr int ExitRead = 0;
constexpr int ExitUnreadable = 1;
constexpr int ExitUsage = 2;

void WriteOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

struct Options {
    bool asText = false;
    std::vector<std::u16string> attributes;
    std::u16string file;
};

std::optional<Options> ParseArguments(const std::vector<std::u16string>& arguments) {
    Options options;
    bool haveFile = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::u16string& argument = arguments[i];
        if (argument == u"--text") {
            options.asText = true;
        } else if (argument == u"--attr" && i + 1 < arguments.size()) {
            options.attributes.push_back(arguments[++i]);
        } else if (argument.starts_with(u"--") || haveFile) {
            return std::nullopt;
        } else {
            options.file = argument;
            haveFile = true;
        }
    }
    if (!haveFile)
        return std::nullopt;
    return options;
}

// The file's bytes, or none when it cannot be read whole.
std::optional<std::string> ReadBytes(std::u16string_view path) {
    using namespace platform;
    auto file = CreateFileW(path, GenericRead, FileShareRead | FileShareWrite, OpenExisting,
                            FileAttributeNormal);
    if (!file)
        return std::nullopt;
    auto size = GetFileSizeEx(file.value);
    if (!size || size.value > 0x7FFFFFFF)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size.value), '\0');
    if (bytes.empty())
        return bytes;
    auto read = ReadFile(file.value, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    if (!read || read.value != bytes.size())
        return std::nullopt;
    return bytes;
}

int InspectText(xml::XmlDocument& document, const Options& options, std::u16string_view path) {
    auto bytes = ReadBytes(path);
    if (!bytes) {
        std::fprintf(stderr, "xmlinspect: cannot read %s\n", Utf8Of(options.file).c_str());
        return ExitUnreadable;
    }
    auto text = platform::MultiByteToWideChar(platform::CpUtf8, *bytes);
    bool parsed = document.AssignText(std::u16string_view(text.value));
    WriteOut(DescribeDocument(document, parsed, options.attributes));
    return ExitRead;
}

int InspectFile(xml::XmlDocument& document, const Options& options, std::u16string_view path) {
    bool loaded = document.LoadFile(path);
    WriteOut(DescribeDocument(document, loaded, options.attributes));
    bool unreadable = !loaded && document.ResultLog().find(u"<file_error") != std::u16string::npos;
    return unreadable ? ExitUnreadable : ExitRead;
}

} // namespace

int main(int argc, char** argv) {
    auto options = ParseArguments(platform::GetCommandLineArguments(argc, argv));
    if (!options) {
        std::fputs("usage: xmlinspect [--text] [--attr NAME]... FILE\n", stderr);
        return ExitUsage;
    }
    CMachinePaths machine;
    std::u16string path = machine.PathOf(options->file);
    xml::XmlDocument document;
    document.AssignText(std::nullopt);
    if (options->asText)
        return InspectText(document, *options, path);
    return InspectFile(document, *options, path);
}

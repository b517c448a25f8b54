// Feeds arbitrary bytes to the document the two ways the system fills one (a
// file through LoadFile, a UTF-16 text through AssignText), then reads every
// element and edits a little, so that every scan of the text runs on hostile
// input.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/sim/SimFiles.h"
#include "xml/XmlDocument.h"

namespace {

constexpr char16_t kFuzzPath[] = u"C:\\fuzz\\config.xml";

// Depth first through the document's own navigation, reading what the
// catalogue loader reads.
void WalkAll(xml::XmlDocument& document) {
    static const std::u16string kNames[] = {u"name", u"a", u"id", u"encoding", u""};
    int depth = 0;
    for (;;) {
        if (document.SeekElement()) {
            std::u16string tag = document.ReadTagName();
            for (const auto& name : kNames)
                (void)document.ReadAttribute(document.CursorPos(), name);
            (void)document.ReadAttribute(document.CursorPos(), tag);
            (void)document.ReadContent(document.CursorPos());
            document.EnterElement();
            ++depth;
            continue;
        }
        if (depth == 0 || !document.LeaveElement())
            return;
        --depth;
    }
}

void Edit(xml::XmlDocument& document, std::u16string_view value) {
    document.RewindLevel();
    if (document.SeekElement()) {
        document.WriteAttribute(document.CursorPos(), u"name", value);
        document.EnterElement();
        document.InsertElement(u"Added", 0);
        document.WriteAttribute(document.CursorPos(), u"v", value);
        (void)document.ReadContent(document.CursorPos());
        document.LeaveElement();
    }
    document.RewindLevel();
    WalkAll(document);
}

std::u16string AsUtf16(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    if (!text.empty())
        std::memcpy(text.data(), data, text.size() * 2);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool rooted = (platform::sim::ResetFiles(), true);
    (void)rooted;
    platform::sim::PutFile(kFuzzPath, std::string_view(reinterpret_cast<const char*>(data), size));

    xml::XmlDocument loaded;
    loaded.AssignText(std::nullopt);
    loaded.LoadFile(kFuzzPath);
    WalkAll(loaded);

    xml::XmlDocument assigned;
    std::u16string text = AsUtf16(data, size);
    assigned.AssignText(text);
    WalkAll(assigned);
    Edit(assigned, std::u16string_view(text).substr(0, 16));
    return 0;
}

// XmlDocument::LoadFile: one short-lived reader per file, its records copied
// into the result log after opening and after reading.
#include "xml/FileReader.h"
#include "xml/XmlDocument.h"

namespace xml {

bool XmlDocument::LoadFile(std::u16string_view path) {
    CFileReader reader(flags | CFileReader::FlagReading);
    bool opened = reader.Open(path);
    resultLog = reader.Log();
    // A failed load leaves no index behind that points into the old text.
    Clear();
    if (!opened)
        return false;
    reader.SetBytesToRead(reader.FileSize() - reader.Position());
    bool read = reader.ReadAll(text);
    reader.Close();
    AppendLogRecords(resultLog, reader.Log());
    flags = reader.Flags();
    if (!read) {
        Clear();
        return false;
    }
    return Parse();
}

} // namespace xml

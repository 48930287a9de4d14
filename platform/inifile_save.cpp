// Saving: rewrites the file in place from the sections and entries.
#include "platform/inifile.h"

#include <cstring>

#include "platform/ini_nodes.h"
#include "platform/vos_file.h"

namespace inifile {

namespace {

VosPiece Piece(const char* text) {
    return {text, std::strlen(text)};
}

// A comment as stored; a pair as key, separator and value, a multi-line value's first
// piece on the key's line and each further one on a continuation line.
bool WriteEntry(VosFile* file, const char* key, const char* separator, const char* value,
                bool multiLine) {
    if (!key) {
        VosPiece comment = Piece(value);
        return VosWriteLine(file, &comment, 1);
    }
    VosPiece line[3] = {Piece(key), Piece(separator), Piece(value)};
    if (!multiLine)
        return VosWriteLine(file, line, 3);
    const char* end = std::strstr(value, "\r\n");
    line[2].length = end ? static_cast<std::size_t>(end - value) : line[2].length;
    bool ok = VosWriteLine(file, line, 3);
    while (ok && end) {
        const char* piece = end + 2;
        end = std::strstr(piece, "\r\n");
        VosPiece continuation[2] = {
            {".", 1}, {piece, end ? static_cast<std::size_t>(end - piece) : std::strlen(piece)}};
        ok = VosWriteLine(file, continuation, 2);
    }
    return ok;
}

} // namespace

int IniFile::Save() {
    if (!changed_)
        return kOk; // nothing changed: the file is not touched at all
    changed_ = false;
    // Rewritten in place, without a temporary copy: the file keeps its attributes and
    // its directory entry, and no stray file is left on a failure.
    VosFile file;
    if (!VosFileOpen(&file, fileName_, VosOpenMode::RewriteCreate))
        return kCannotWrite;
    bool ok = true;
    for (const Section* section = first_; ok && section; section = section->next) {
        if (section->name) {
            VosPiece header[3] = {{"[", 1}, Piece(section->name), {"]", 1}};
            ok = VosWriteLine(&file, header, 3);
        }
        for (std::uint32_t i = 0; ok && i < section->count; ++i) {
            const Entry& entry = section->entries[i];
            if (entry.Is(Entry::kRemoved))
                continue;
            char separator[kMaxSeparator + 1] = "";
            if (!entry.Is(Entry::kComment))
                SeparatorOf(entry, separator);
            ok = WriteEntry(&file, KeyOf(entry), separator, ValueOf(entry),
                            entry.Is(Entry::kMultiLine));
        }
        // One empty line after every section, the leading one included.
        ok = ok && VosWriteLine(&file, nullptr, 0);
    }
    ok = VosFileClose(&file) && ok;
    return ok ? kOk : kCannotWrite;
}

} // namespace inifile

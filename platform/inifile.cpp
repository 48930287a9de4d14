// Lookups and edits of a loaded INI file.
#include "platform/inifile.h"

#include <cstdlib>
#include <cstring>

#include "platform/ini_hash.h"
#include "platform/ini_nodes.h"

namespace inifile {

namespace {

bool HasLineBreak(const char* text) {
    return std::strpbrk(text, "\r\n") != nullptr;
}

// Pieces of a value are separated by CR LF; a lone CR or LF could not be written back.
bool OnlyPairedLineBreaks(const char* value) {
    for (const char* p = value; *p; ++p) {
        if (*p == '\r' && p[1] != '\n')
            return false;
        if (*p == '\n' && (p == value || p[-1] != '\r'))
            return false;
    }
    return true;
}

// Whether every line Save would write for this pair fits the reader's line length.
bool PairFitsLines(std::size_t keyLength, std::size_t separatorLength, const char* value) {
    std::size_t lineLength = keyLength + separatorLength;
    for (const char* piece = value;;) {
        const char* end = std::strstr(piece, "\r\n");
        std::size_t pieceLength = end ? static_cast<std::size_t>(end - piece) : std::strlen(piece);
        if (lineLength + pieceLength > kMaxLineLength)
            return false;
        if (!end)
            return true;
        piece = end + 2;
        lineLength = 1; // the continuation dot
    }
}

// A section name whose last byte is a lead byte would take the closing bracket of its
// header for its second byte: the header would not read back.
bool EndsInLeadByte(const char* name, const chars::CodePage& page) {
    const char* last = nullptr;
    for (const char* p = name; *p; p += page.CharSize(p))
        last = p;
    return last && page.CharSize(last) == 1 && page.IsLeadByte(static_cast<unsigned char>(*last));
}

// A key whose line would read back as a section header breaks the whole file.
bool KeyStartsHeader(const char* key) {
    while (*key == ' ' || *key == '\t')
        ++key;
    return *key == '[';
}

} // namespace

void IniFile::Release(IniFile* ini) {
    delete ini;
}

IniFile::~IniFile() {
    std::free(table_);
}

Entry* IniFile::FindKey(Section* section, const char* key) const {
    Entry* end = section->entries + section->count;
    if (!section->keysHashed) {
        for (Entry* entry = section->entries; entry != end; ++entry)
            if (!entry->Is(Entry::kComment))
                entry->hash = NameHash(LineOf(*entry));
        section->keysHashed = true;
    }
    std::uint16_t hash = NameHash(key);
    for (Entry* entry = section->entries; entry != end; ++entry)
        if (entry->hash == hash && !(entry->bits & (Entry::kComment | Entry::kRemoved)) &&
            NamesEqual(LineOf(*entry), key, page_))
            return entry;
    return nullptr;
}

bool IniFile::StoreLine(Entry* entry, const char* key, const char* separator, const char* value) {
    if (tableCount_ == tableCapacity_) {
        if (tableCapacity_ > UINT32_MAX / 2 / sizeof(char*))
            return false;
        std::uint32_t capacity = tableCapacity_ ? 2 * tableCapacity_ : 16;
        void* grown = std::realloc(table_, capacity * sizeof(char*));
        if (!grown)
            return false;
        table_ = static_cast<char**>(grown);
        tableCapacity_ = capacity;
    }
    std::size_t keyLength = std::strlen(key);
    std::size_t separatorLength = std::strlen(separator);
    std::size_t valueLength = std::strlen(value);
    char* line = static_cast<char*>(pool_.Allocate(keyLength + separatorLength + valueLength + 1, 1));
    if (!line)
        return false;
    // The same layout as a loaded line: the separator's first byte becomes the key's zero.
    std::memcpy(line, key, keyLength);
    std::memcpy(line + keyLength, separator, separatorLength);
    std::memcpy(line + keyLength + separatorLength, value, valueLength + 1);
    line[keyLength] = '\0';
    table_[tableCount_] = line;
    entry->line = tableCount_++;
    entry->bits = static_cast<std::uint16_t>((keyLength + separatorLength) | Entry::kInTable |
                                             (separator[0] == '\t' ? Entry::kTabFirst : 0) |
                                             (std::strstr(value, "\r\n") ? Entry::kMultiLine : 0));
    entry->hash = NameHash(key);
    return true;
}

Section* IniFile::FindSection(const char* name) const {
    std::uint16_t hash = NameHash(name);
    // The leading section has no name and is never found by one.
    for (Section* section = first_->next; section; section = section->next)
        if (section->hash == hash && NamesEqual(section->name, name, page_))
            return section;
    return nullptr;
}

Section* IniFile::AppendSection(char* name) {
    auto* section = pool_.New<Section>();
    if (!section)
        return nullptr;
    section->name = name;
    section->hash = NameHash(name);
    section->keysHashed = true; // no keys yet; each one added later is hashed at once
    last_->next = section;
    last_ = section;
    return section;
}

bool IniFile::AppendEntry(Section* section, const Entry& entry) {
    void* grown = pool_.Extend(section->entries, section->count * sizeof(Entry), &entry,
                               sizeof(Entry), alignof(Entry));
    if (!grown)
        return false;
    section->entries = static_cast<Entry*>(grown);
    ++section->count;
    return true;
}

int IniFile::Find(const char* section, const char* key, const char** value) const {
    *value = nullptr;
    if (!key)
        return kNoKey;
    const Entry* entry = nullptr;
    if (section) {
        Section* found = FindSection(section);
        if (!found)
            return kNoSection;
        entry = FindKey(found, key);
    } else {
        for (Section* s = first_; s && !entry; s = s->next)
            entry = FindKey(s, key);
    }
    if (!entry)
        return kNoKey;
    *value = ValueOf(*entry);
    return kOk;
}

int IniFile::Set(const char* section, const char* key, const char* value) {
    if (!section)
        return kNoSection;
    if (!key)
        return kNoKey;
    if (!value)
        value = "";
    Section* found = FindSection(section);
    Entry* entry = found ? FindKey(found, key) : nullptr;

    // Refuse what Save could not write as lines that read back: it would make the whole
    // file unreadable next time.
    char separator[kMaxSeparator + 1] = "=";
    if (entry)
        SeparatorOf(*entry, separator);
    std::size_t separatorLength = std::strlen(separator);
    if (HasLineBreak(section) || EndsInLeadByte(section, page_) || HasLineBreak(key) ||
        KeyStartsHeader(key) || !OnlyPairedLineBreaks(value) ||
        std::strlen(section) + 2 > kMaxLineLength ||
        !PairFitsLines(std::strlen(key), separatorLength, value))
        return kSyntaxError;

    if (entry && NamesEqual(ValueOf(*entry), value, page_))
        return kOk; // unchanged apart from letter case: the stored case stays
    if (!found) {
        char* name = pool_.CopyString(section, std::strlen(section));
        found = name ? AppendSection(name) : nullptr;
        if (!found)
            return kSetNoMemory;
        changed_ = true;
    }
    if (entry) {
        // The line is built anew, keeping the key as stored and its separator.
        char storedKey[kMaxLineLength + 1];
        std::strcpy(storedKey, LineOf(*entry));
        if (!StoreLine(entry, storedKey, separator, value))
            return kSetNoMemory;
    } else {
        Entry added;
        if (!StoreLine(&added, key, separator, value) || !AppendEntry(found, added))
            return kSetNoMemory;
    }
    changed_ = true;
    return kOk;
}

int IniFile::RemoveKey(const char* section, const char* key) {
    Section* found = section ? FindSection(section) : nullptr;
    if (!found)
        return kNoSection;
    if (!key)
        return kNoKey;
    Entry* entry = FindKey(found, key);
    if (!entry)
        return kNoKey;
    entry->bits |= Entry::kRemoved;
    changed_ = true;
    return kOk;
}

int IniFile::RemoveSection(const char* section) {
    if (!section)
        return kNoSection;
    std::uint16_t hash = NameHash(section);
    for (Section* previous = first_; previous->next; previous = previous->next) {
        Section* candidate = previous->next;
        if (candidate->hash != hash || !NamesEqual(candidate->name, section, page_))
            continue;
        previous->next = candidate->next;
        if (last_ == candidate)
            last_ = previous;
        changed_ = true;
        return kOk;
    }
    return kNoSection;
}

int IniFile::EntryAt(const char* section, int index, const char** key, const char** value) const {
    *key = nullptr;
    *value = nullptr;
    const Section* found = section ? FindSection(section) : nullptr;
    if (!found)
        return kNoSection;
    if (index < 0)
        return kNoKey;
    for (std::uint32_t i = 0; i < found->count; ++i) {
        const Entry& entry = found->entries[i];
        if (entry.Is(Entry::kRemoved) || index-- > 0)
            continue;
        *key = KeyOf(entry);
        *value = ValueOf(entry);
        return kOk;
    }
    return kNoKey;
}

void IniFile::Walk(IniVisitor& visitor) const {
    for (const Section* section = first_; section; section = section->next) {
        visitor.OnSection(section->name);
        for (std::uint32_t i = 0; i < section->count; ++i)
            if (!section->entries[i].Is(Entry::kRemoved))
                visitor.OnEntry(KeyOf(section->entries[i]), ValueOf(section->entries[i]));
    }
}

void IniFile::SeparatorOf(const Entry& entry, char* out) const {
    const char* line = LineOf(entry);
    std::size_t keyLength = std::strlen(line);
    std::size_t length = entry.ValueOffset() - keyLength;
    if (length > kMaxSeparator) {
        std::strcpy(out, "=");
        return;
    }
    // The zero after the key took the separator's first byte: the '=' itself, unless the
    // '=' comes later, after a blank.
    std::memcpy(out, line + keyLength, length);
    out[length] = '\0';
    bool equalsLater = std::memchr(out + 1, '=', length - 1) != nullptr;
    out[0] = !equalsLater ? '=' : entry.Is(Entry::kTabFirst) ? '\t' : ' ';
}

} // namespace inifile

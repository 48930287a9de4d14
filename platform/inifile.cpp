// Lookups and edits of a loaded INI file.
#include "platform/inifile.h"

#include <cstring>

#include "platform/ini_hash.h"
#include "platform/ini_nodes.h"

namespace inifile {

namespace {

void HashKeys(Section* section) {
    if (section->keysHashed)
        return;
    for (Entry* entry = section->first; entry; entry = entry->next)
        if (entry->key)
            entry->hash = NameHash(entry->key);
    section->keysHashed = true;
}

Entry* FindKey(Section* section, const char* key) {
    HashKeys(section);
    std::uint16_t hash = NameHash(key);
    for (Entry* entry = section->first; entry; entry = entry->next)
        if (entry->key && entry->hash == hash && NamesEqual(entry->key, key))
            return entry;
    return nullptr;
}

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

Section* IniFile::FindSection(const char* name) const {
    std::uint16_t hash = NameHash(name);
    // The leading section has no name and is never found by one.
    for (Section* section = first_->next; section; section = section->next)
        if (section->hash == hash && NamesEqual(section->name, name))
            return section;
    return nullptr;
}

Section* IniFile::AppendSection(const char* name, std::size_t length) {
    auto* section = pool_.New<Section>();
    if (!section || !(section->name = pool_.CopyString(name, length)))
        return nullptr;
    section->hash = NameHash(section->name);
    section->keysHashed = true; // no keys yet; each one added later is hashed at once
    last_->next = section;
    last_ = section;
    return section;
}

void IniFile::AppendEntry(Section* section, Entry* entry) {
    if (section->last)
        section->last->next = entry;
    else
        section->first = entry;
    section->last = entry;
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
    *value = entry->value ? entry->value : "";
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
    std::size_t separatorLength = entry ? std::strlen(entry->separator) : 1;
    if (HasLineBreak(section) || HasLineBreak(key) || KeyStartsHeader(key) ||
        !OnlyPairedLineBreaks(value) || std::strlen(section) + 2 > kMaxLineLength ||
        !PairFitsLines(std::strlen(key), separatorLength, value))
        return kSyntaxError;

    if (entry && entry->value && NamesEqual(entry->value, value))
        return kOk; // unchanged apart from letter case: the stored case stays
    if (!found) {
        found = AppendSection(section, std::strlen(section));
        if (!found)
            return kSetNoMemory;
        changed_ = true;
    }
    if (!entry) {
        entry = pool_.New<Entry>();
        if (!entry || !(entry->key = pool_.CopyString(key, std::strlen(key))))
            return kSetNoMemory;
        entry->hash = NameHash(entry->key);
        AppendEntry(found, entry);
        changed_ = true;
    }
    char* copy = pool_.CopyString(value, std::strlen(value));
    if (!copy)
        return kSetNoMemory;
    entry->value = copy;
    entry->multiLine = std::strstr(copy, "\r\n") != nullptr;
    changed_ = true;
    return kOk;
}

int IniFile::RemoveKey(const char* section, const char* key) {
    Section* found = section ? FindSection(section) : nullptr;
    if (!found)
        return kNoSection;
    if (!key)
        return kNoKey;
    HashKeys(found);
    std::uint16_t hash = NameHash(key);
    Entry* previous = nullptr;
    for (Entry* entry = found->first; entry; previous = entry, entry = entry->next) {
        if (!entry->key || entry->hash != hash || !NamesEqual(entry->key, key))
            continue;
        (previous ? previous->next : found->first) = entry->next;
        if (found->last == entry)
            found->last = previous;
        changed_ = true;
        return kOk;
    }
    return kNoKey;
}

int IniFile::RemoveSection(const char* section) {
    if (!section)
        return kNoSection;
    std::uint16_t hash = NameHash(section);
    for (Section* previous = first_; previous->next; previous = previous->next) {
        Section* candidate = previous->next;
        if (candidate->hash != hash || !NamesEqual(candidate->name, section))
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
    const Entry* entry = found->first;
    for (; entry && index > 0; --index)
        entry = entry->next;
    if (!entry)
        return kNoKey;
    *key = entry->key;
    *value = entry->value ? entry->value : "";
    return kOk;
}

void IniFile::Walk(IniVisitor& visitor) const {
    for (const Section* section = first_; section; section = section->next) {
        visitor.OnSection(section->name);
        for (const Entry* entry = section->first; entry; entry = entry->next)
            visitor.OnEntry(entry->key, entry->value ? entry->value : "");
    }
}

} // namespace inifile

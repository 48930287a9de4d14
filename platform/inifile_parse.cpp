// Loading: splits the text into lines and builds the sections and entries.
#include "platform/inifile.h"

#include <cstring>
#include <new>

#include "platform/ini_hash.h"
#include "platform/ini_nodes.h"
#include "platform/vos_file.h"

namespace inifile {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Lines of a buffer in memory, split by the same rules as VosReadLine.
struct MemoryLines {
    const char* data;
    std::size_t size;
    std::size_t offset = 0;

    VosLine Next(const char** line, std::size_t* length) {
        if (offset >= size)
            return VosLine::End;
        const char* start = data + offset;
        std::size_t avail = size - offset;
        const char* stop = static_cast<const char*>(std::memchr(start, '\n', avail));
        std::size_t span = stop ? static_cast<std::size_t>(stop - start) : avail;
        if (const void* cr = std::memchr(start, '\r', span)) {
            stop = static_cast<const char*>(cr);
            span = static_cast<std::size_t>(stop - start);
        }
        if (span > kMaxLineLength)
            return VosLine::TooLong;
        offset += span;
        if (stop) {
            ++offset;
            if (*stop == '\r' && offset < size && data[offset] == '\n')
                ++offset;
        }
        *line = start;
        *length = span;
        return VosLine::Read;
    }
};

} // namespace

// Builds one IniFile from lines handed over one at a time.
class IniFile::Parser {
public:
    explicit Parser(IniFile* ini) : ini_(ini), section_(ini->first_) {}

    // kOk, kNoMemory or kSyntaxError (with `reason` set).
    // `mayHoldNul` is false when the source knows the line has no zero byte.
    int AddLine(const char* line, std::size_t length, bool mayHoldNul) {
        // Stored text is zero-terminated, so a NUL byte ends the line's text; cutting it
        // here, before trimming, makes a save write back exactly what was read.
        const void* nul = mayHoldNul ? std::memchr(line, '\0', length) : nullptr;
        if (nul)
            length = static_cast<std::size_t>(static_cast<const char*>(nul) - line);
        while (length > 0 && IsBlank(line[0])) {
            ++line;
            --length;
        }
        while (length > 0 && IsBlank(line[length - 1]))
            --length;
        if (length == 0)
            return kOk; // blank lines are not kept
        switch (line[0]) {
        case '#':
        case ';':
            return AddComment(line, length);
        case '[':
            return AddSection(line, length);
        case '.':
            return AddContinuation(line + 1, length - 1);
        default:
            return AddPair(line, length);
        }
    }

    const char* reason = "";

private:
    IniFile* ini_;
    Section* section_;
    Entry* lastPair_ = nullptr; // the pair a continuation line would extend
    std::size_t lastValueLength_ = 0;

    int AddComment(const char* line, std::size_t length) {
        lastPair_ = nullptr;
        auto* entry = ini_->pool_.New<Entry>();
        if (!entry || !(entry->value = ini_->pool_.CopyString(line, length)))
            return kNoMemory;
        ini_->AppendEntry(section_, entry);
        return kOk;
    }

    int AddSection(const char* line, std::size_t length) {
        lastPair_ = nullptr;
        if (length < 2 || line[length - 1] != ']') {
            reason = "header without ']'";
            return kSyntaxError;
        }
        // Blanks inside the brackets belong to the name.
        section_ = ini_->AppendSection(line + 1, length - 2);
        if (!section_)
            return kNoMemory;
        section_->keysHashed = false; // its keys come unhashed from this parser
        return kOk;
    }

    int AddContinuation(const char* text, std::size_t length) {
        if (!lastPair_)
            return kOk; // nothing to continue: after a header, a comment or a dropped line
        Pool& pool = ini_->pool_;
        char* value = pool.Append(lastPair_->value, lastValueLength_, "\r\n", 2);
        if (value)
            value = pool.Append(value, lastValueLength_ + 2, text, length);
        if (!value)
            return kNoMemory;
        lastPair_->value = value;
        lastPair_->multiLine = true;
        lastValueLength_ += 2 + length;
        return kOk;
    }

    int AddPair(const char* line, std::size_t length) {
        const char* equals = static_cast<const char*>(std::memchr(line, '=', length));
        if (!equals) {
            reason = "no '=' in line";
            return kSyntaxError;
        }
        std::size_t keyLength = static_cast<std::size_t>(equals - line);
        while (keyLength > 0 && IsBlank(line[keyLength - 1]))
            --keyLength;
        std::size_t valueStart = static_cast<std::size_t>(equals - line) + 1;
        while (valueStart < length && IsBlank(line[valueStart]))
            ++valueStart;

        // The node first and the text after it: the value then ends at the pool's top,
        // where continuation lines can extend it without a copy.
        auto* entry = ini_->pool_.New<Entry>();
        char* text = entry ? ini_->pool_.CopyString(line, length) : nullptr;
        if (!text)
            return kNoMemory;
        std::size_t separatorLength = valueStart - keyLength;
        if (separatorLength <= kMaxSeparator) {
            std::memcpy(entry->separator, line + keyLength, separatorLength);
            entry->separator[separatorLength] = '\0';
        }
        text[keyLength] = '\0';
        entry->key = text;
        entry->value = text + valueStart; // its hash waits for the section's first lookup
        ini_->AppendEntry(section_, entry);
        lastPair_ = entry;
        lastValueLength_ = length - valueStart;
        return kOk;
    }
};

int IniFile::Create(const char* fileName, IniFile** out) {
    auto* ini = new (std::nothrow) IniFile();
    if (!ini)
        return kNoMemory;
    ini->fileName_ = ini->pool_.CopyString(fileName, std::strlen(fileName));
    ini->first_ = ini->last_ = ini->pool_.New<Section>();
    if (!ini->fileName_ || !ini->first_) {
        delete ini;
        return kNoMemory;
    }
    *out = ini;
    return kOk;
}

namespace {

// The load is refused outright when a line is too long or the file cannot be read to
// its end: keeping only the lines before it would let a later save drop the rest.
void Refuse(LoadDiagnostic* diag, int line, const char* reason) {
    if (diag) {
        diag->line = line;
        diag->reason = reason;
    }
}

} // namespace

int IniFile::Load(const char* fileName, OpenMode mode, IniFile** out, LoadDiagnostic* diag) {
    *out = nullptr;
    Refuse(diag, 0, "");
    if (!fileName)
        return kCannotOpen;
    VosFile file;
    if (!VosFileOpen(&file, fileName,
                     mode == OpenMode::ReadOnly ? VosOpenMode::ReadOnly
                                                : VosOpenMode::ReadWriteCreate)) {
        Refuse(diag, 0, "cannot open the file");
        return kCannotOpen;
    }
    IniFile* ini = nullptr;
    int result = Create(fileName, &ini);
    if (result == kOk) {
        Parser parser(ini);
        char scratch[kMaxLineLength + 1];
        const char* line = nullptr;
        std::size_t length = 0;
        for (int number = 1;; ++number) {
            VosLine state = VosReadLine(&file, scratch, sizeof scratch, &line, &length);
            if (state == VosLine::End)
                break;
            if (state == VosLine::TooLong) {
                Refuse(diag, number, "line longer than 2047 bytes");
                result = kSyntaxError;
            } else if (state == VosLine::ReadError) {
                Refuse(diag, number, "read error");
                result = kCannotOpen;
            } else if ((result = parser.AddLine(line, length, file.sawNul)) != kOk) {
                Refuse(diag, number, result == kNoMemory ? "out of memory" : parser.reason);
            }
            if (result != kOk)
                break;
        }
    }
    VosFileClose(&file);
    if (result != kOk) {
        Release(ini);
        return result;
    }
    *out = ini;
    return kOk;
}

int IniFile::LoadFromMemory(const char* data, std::size_t size, const char* fileName, IniFile** out,
                            LoadDiagnostic* diag) {
    *out = nullptr;
    Refuse(diag, 0, "");
    IniFile* ini = nullptr;
    int result = Create(fileName ? fileName : "", &ini);
    if (result != kOk)
        return result;
    Parser parser(ini);
    MemoryLines lines{data, size};
    const bool mayHoldNul = size > 0 && std::memchr(data, '\0', size) != nullptr;
    const char* line = nullptr;
    std::size_t length = 0;
    for (int number = 1;; ++number) {
        VosLine state = lines.Next(&line, &length);
        if (state == VosLine::End)
            break;
        if (state == VosLine::TooLong) {
            Refuse(diag, number, "line longer than 2047 bytes");
            result = kSyntaxError;
        } else if ((result = parser.AddLine(line, length, mayHoldNul)) != kOk) {
            Refuse(diag, number, result == kNoMemory ? "out of memory" : parser.reason);
        }
        if (result != kOk) {
            Release(ini);
            return result;
        }
    }
    *out = ini;
    return kOk;
}

} // namespace inifile

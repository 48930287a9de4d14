// Loading: reads the file's bytes into one block of the pool and splits them there into
// sections and entries, without copying any text.
#include <cstring>
#include <new>

#include "platform/ini_hash.h"
#include "platform/ini_nodes.h"
#include "platform/inifile.h"
#include "platform/vos_descriptor.h"

namespace inifile {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

enum class LineState { Read, End, TooLong };

// The lines of the block, by the rules of the line reader: LF, CR or CR LF end a line
// (one terminator), the last line may lack one, a line holds at most kMaxLineLength bytes.
struct Lines {
    char* data;
    std::size_t size;
    std::size_t offset = 0;

    LineState Next(char** line, std::size_t* length) {
        if (offset >= size)
            return LineState::End;
        char* start = data + offset;
        std::size_t avail = size - offset;
        // A line is never searched past its longest length, so that a file of CR-ended
        // lines costs no search to the end of the file for each line.
        std::size_t limit = avail < kMaxLineLength + 1 ? avail : kMaxLineLength + 1;
        char* stop = static_cast<char*>(std::memchr(start, '\n', limit));
        std::size_t span = stop ? static_cast<std::size_t>(stop - start) : limit;
        if (void* cr = std::memchr(start, '\r', span)) {
            stop = static_cast<char*>(cr);
            span = static_cast<std::size_t>(stop - start);
        }
        if (span > kMaxLineLength)
            return LineState::TooLong;
        offset += span;
        if (stop) {
            ++offset;
            if (*stop == '\r' && offset < size && data[offset] == '\n')
                ++offset;
        }
        *line = start;
        *length = span;
        return LineState::Read;
    }
};

} // namespace

// Builds the sections and entries of one IniFile from its lines, in place: the byte after
// each piece of text (a blank, the separator's first byte, a terminator, or the spare
// byte after the block) becomes its zero. Each line is handed over after the next line's
// start is known, so that no byte of a later line is overwritten.
class IniFile::Parser {
public:
    explicit Parser(IniFile* ini) : ini_(ini), section_(ini->first_) {}

    // kOk, kNoMemory or kSyntaxError (with `reason` set).
    // `mayHoldNul` is false when the block is known to hold no zero byte.
    int AddLine(char* line, std::size_t length, bool mayHoldNul) {
        // Stored text is zero-terminated, so a NUL byte ends the line's text; cutting it
        // here, before trimming, makes a save write back exactly what was read.
        if (mayHoldNul) {
            if (const void* nul = std::memchr(line, '\0', length))
                length = static_cast<std::size_t>(static_cast<const char*>(nul) - line);
        }
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
    // The zero after the value a continuation line would extend (the section's last
    // entry), or null after a header, a comment or a dropped line.
    char* valueEnd_ = nullptr;

    std::uint32_t OffsetOf(const char* line) const {
        return static_cast<std::uint32_t>(line - ini_->text_);
    }

    int AddComment(char* line, std::size_t length) {
        valueEnd_ = nullptr;
        line[length] = '\0';
        Entry entry;
        entry.line = OffsetOf(line);
        entry.bits = Entry::kComment;
        return ini_->AppendEntry(section_, entry) ? kOk : kNoMemory;
    }

    int AddSection(char* line, std::size_t length) {
        valueEnd_ = nullptr;
        // The bracket must be a character: in "[\x83]" it is the second byte of one.
        if (length < 2 || !chars::EndsWith(line, length, ']', ini_->page_)) {
            reason = "header without ']'";
            return kSyntaxError;
        }
        // Blanks inside the brackets belong to the name.
        line[length - 1] = '\0';
        section_ = ini_->AppendSection(line + 1);
        if (!section_)
            return kNoMemory;
        section_->keysHashed = false; // its keys come unhashed from this parser
        return kOk;
    }

    int AddContinuation(const char* text, std::size_t length) {
        if (!valueEnd_)
            return kOk; // nothing to continue: after a header, a comment or a dropped line
        // The value grows in place: between its zero and this text lie at least the
        // terminator of its line and the dot, room for the CR LF that joins them.
        valueEnd_[0] = '\r';
        valueEnd_[1] = '\n';
        std::memmove(valueEnd_ + 2, text, length);
        valueEnd_ += 2 + length;
        *valueEnd_ = '\0';
        section_->entries[section_->count - 1].bits |= Entry::kMultiLine;
        return kOk;
    }

    int AddPair(char* line, std::size_t length) {
        char* equals = static_cast<char*>(std::memchr(line, '=', length));
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
        Entry entry;
        entry.line = OffsetOf(line);
        entry.bits = static_cast<std::uint16_t>(valueStart);
        if (line[keyLength] == '\t')
            entry.bits |= Entry::kTabFirst;
        line[keyLength] = '\0'; // its hash waits for the section's first lookup
        line[length] = '\0';
        if (!ini_->AppendEntry(section_, entry))
            return kNoMemory;
        valueEnd_ = line + length;
        return kOk;
    }
};

int IniFile::Create(const char* fileName, const chars::CodePage& page, IniFile** out) {
    auto* ini = new (std::nothrow) IniFile();
    if (!ini)
        return kNoMemory;
    ini->page_ = page;
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

void Refuse(LoadDiagnostic* diag, int line, const char* reason) {
    if (diag) {
        diag->line = line;
        diag->reason = reason;
    }
}

// The file's bytes in one block of the pool with a spare byte after them; null with
// `*result` set when they cannot be read. A file that grows meanwhile is read to its end.
char* ReadWhole(Pool& pool, VosDescriptor file, std::size_t* size, int* result) {
    std::uint64_t expected = VosSize(file);
    if (expected >= UINT32_MAX) { // offsets of lines are 32-bit
        *result = kNoMemory;
        return nullptr;
    }
    std::size_t capacity = static_cast<std::size_t>(expected);
    char* block = static_cast<char*>(pool.Allocate(capacity + 1, 1));
    std::size_t used = 0;
    for (;;) {
        if (!block) {
            *result = kNoMemory;
            return nullptr;
        }
        std::ptrdiff_t got = VosRead(file, block + used, capacity - used);
        if (got < 0) {
            *result = kCannotOpen;
            return nullptr;
        }
        used += static_cast<std::size_t>(got);
        if (used < capacity && got > 0)
            continue;
        if (used < capacity)
            break; // the end came early: the file shrank
        char probe;
        got = VosRead(file, &probe, 1);
        if (got < 0) {
            *result = kCannotOpen;
            return nullptr;
        }
        if (got == 0)
            break;
        if (capacity >= UINT32_MAX / 2) {
            *result = kNoMemory;
            return nullptr;
        }
        capacity = 2 * capacity + 4096;
        char* grown = static_cast<char*>(pool.Allocate(capacity + 1, 1));
        if (grown) {
            std::memcpy(grown, block, used);
            grown[used++] = probe;
        }
        block = grown;
    }
    *size = used;
    block[used] = '\0';
    *result = kOk;
    return block;
}

} // namespace

int IniFile::Parse(char* text, std::size_t size, LoadDiagnostic* diag) {
    text_ = text;
    Parser parser(this);
    Lines lines{text, size};
    // One search of the whole block instead of one per line: NUL bytes are rare.
    const bool mayHoldNul = size > 0 && std::memchr(text, '\0', size) != nullptr;
    char* line = nullptr;
    std::size_t length = 0;
    for (int number = 1;; ++number) {
        LineState state = lines.Next(&line, &length);
        if (state == LineState::End)
            return kOk;
        // A line too long is refused outright: keeping only the lines before it would
        // let a later save drop the rest of the file.
        if (state == LineState::TooLong) {
            Refuse(diag, number, "line longer than 2047 bytes");
            return kSyntaxError;
        }
        int result = parser.AddLine(line, length, mayHoldNul);
        if (result != kOk) {
            Refuse(diag, number, result == kNoMemory ? "out of memory" : parser.reason);
            return result;
        }
    }
}

int IniFile::Load(const char* fileName, OpenMode mode, IniFile** out, LoadDiagnostic* diag,
                  const chars::CodePage& page) {
    *out = nullptr;
    Refuse(diag, 0, "");
    if (!fileName)
        return kCannotOpen;
    VosDescriptor file =
        VosOpen(fileName, mode == OpenMode::ReadOnly ? VosOpenMode::ReadOnly
                                                     : VosOpenMode::ReadWriteCreate);
    if (file == kNoDescriptor) {
        Refuse(diag, 0, "cannot open the file");
        return kCannotOpen;
    }
    IniFile* ini = nullptr;
    int result = Create(fileName, page, &ini);
    if (result == kOk) {
        std::size_t size = 0;
        char* text = ReadWhole(ini->pool_, file, &size, &result);
        if (result == kCannotOpen)
            Refuse(diag, 0, "read error");
        else if (result == kNoMemory)
            Refuse(diag, 0, "out of memory");
        else
            result = ini->Parse(text, size, diag);
    }
    VosClose(file);
    if (result != kOk) {
        Release(ini);
        return result;
    }
    *out = ini;
    return kOk;
}

int IniFile::LoadFromMemory(const char* data, std::size_t size, const char* fileName, IniFile** out,
                            LoadDiagnostic* diag, const chars::CodePage& page) {
    *out = nullptr;
    Refuse(diag, 0, "");
    if (size >= UINT32_MAX)
        return kNoMemory;
    IniFile* ini = nullptr;
    int result = Create(fileName ? fileName : "", page, &ini);
    if (result != kOk)
        return result;
    char* text = static_cast<char*>(ini->pool_.Allocate(size + 1, 1));
    if (!text) {
        Release(ini);
        return kNoMemory;
    }
    if (size)
        std::memcpy(text, data, size);
    text[size] = '\0';
    result = ini->Parse(text, size, diag);
    if (result != kOk) {
        Release(ini);
        return result;
    }
    *out = ini;
    return kOk;
}

} // namespace inifile

#include "platform/vos_file.h"

#include <cstring>

namespace inifile {

namespace {

// Refills an exhausted read buffer: 1 with new bytes, 0 at the end of the file, -1 on error.
int Refill(VosFile* file) {
    std::ptrdiff_t got = VosRead(file->descriptor, file->buffer, VosFile::kBufferSize);
    if (got < 0)
        return -1;
    file->fill = static_cast<std::size_t>(got);
    file->next = 0;
    // One scan per buffer instead of one per line: NUL bytes are rare in text files.
    if (!file->sawNul && got > 0 && std::memchr(file->buffer, '\0', file->fill))
        file->sawNul = true;
    file->position += static_cast<std::uint64_t>(got);
    return got > 0 ? 1 : 0;
}

bool Flush(VosFile* file) {
    if (!file->writing)
        return true; // a read buffer is never written back
    if (file->fill > 0 && !file->writeFailed &&
        !VosWrite(file->descriptor, file->buffer, file->fill))
        file->writeFailed = true;
    file->fill = 0;
    return !file->writeFailed;
}

bool WriteDirect(VosFile* file, const char* data, std::size_t size) {
    if (!file->writeFailed && !VosWrite(file->descriptor, data, size))
        file->writeFailed = true;
    return !file->writeFailed;
}

} // namespace

bool VosFileOpen(VosFile* file, const char* name, VosOpenMode mode) {
    file->descriptor = VosOpen(name, mode);
    file->position = 0;
    file->fill = 0;
    file->next = 0;
    file->sawNul = false;
    file->writing = false;
    file->writeFailed = false;
    return file->descriptor != kNoDescriptor;
}

VosLine VosReadLine(VosFile* file, char* scratch, std::size_t size, const char** line,
                    std::size_t* length) {
    std::size_t used = 0; // bytes assembled in `scratch`
    *line = scratch;
    *length = 0;
    if (size == 0)
        return VosLine::TooLong;
    for (;;) {
        if (file->next == file->fill) {
            int state = Refill(file);
            if (state < 0)
                return VosLine::ReadError;
            if (state == 0) {
                if (used == 0)
                    return VosLine::End;
                *length = used; // the last line needs no terminator
                return VosLine::Read;
            }
        }
        const char* start = file->buffer + file->next;
        std::size_t avail = file->fill - file->next;
        // memchr runs far faster than a byte loop; a CR can only matter before the LF.
        const char* stop = static_cast<const char*>(std::memchr(start, '\n', avail));
        std::size_t span = stop ? static_cast<std::size_t>(stop - start) : avail;
        if (const void* cr = std::memchr(start, '\r', span)) {
            stop = static_cast<const char*>(cr);
            span = static_cast<std::size_t>(stop - start);
        }
        if (span > size - 1 - used)
            return VosLine::TooLong;
        file->next += span;
        if (!stop) {
            std::memcpy(scratch + used, start, span);
            used += span;
            continue;
        }
        ++file->next; // the terminator itself
        // The line can stay in the buffer unless a refill (for the LF of a CR LF split
        // between two reads) is about to overwrite it.
        bool refillNext = *stop == '\r' && file->next == file->fill;
        if (used == 0 && !refillNext) {
            *line = start;
        } else {
            std::memcpy(scratch + used, start, span);
            span += used;
        }
        *length = span;
        if (refillNext && Refill(file) < 0)
            return VosLine::ReadError;
        if (*stop == '\r' && file->next < file->fill && file->buffer[file->next] == '\n')
            ++file->next;
        return VosLine::Read;
    }
}

bool VosWriteLine(VosFile* file, const VosPiece* pieces, int count) {
    file->writing = true;
    std::size_t total = 2;
    for (int i = 0; i < count; ++i)
        total += pieces[i].length;
    if (total > VosFile::kBufferSize - file->fill && !Flush(file))
        return false;
    file->position += total;
    if (total > VosFile::kBufferSize) {
        // Larger than the whole buffer: straight to the file, after what was buffered.
        for (int i = 0; i < count; ++i)
            if (!WriteDirect(file, pieces[i].text, pieces[i].length))
                return false;
        return WriteDirect(file, "\r\n", 2);
    }
    char* out = file->buffer + file->fill;
    for (int i = 0; i < count; ++i) {
        if (pieces[i].length)
            std::memcpy(out, pieces[i].text, pieces[i].length);
        out += pieces[i].length;
    }
    out[0] = '\r';
    out[1] = '\n';
    file->fill += total;
    return !file->writeFailed;
}

bool VosFileClose(VosFile* file) {
    bool ok = Flush(file);
    if (file->descriptor != kNoDescriptor && !VosClose(file->descriptor))
        ok = false;
    file->descriptor = kNoDescriptor;
    return ok;
}

} // namespace inifile

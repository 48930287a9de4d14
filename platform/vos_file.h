// Buffered line reader and writer over one open file (1024-byte buffer).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/vos_descriptor.h"

namespace inifile {

struct VosFile {
    static constexpr std::size_t kBufferSize = 1024;

    VosDescriptor descriptor = kNoDescriptor;
    std::uint64_t position = 0; // file offset just past the bytes read or buffered to write
    char buffer[kBufferSize];
    std::size_t fill = 0; // bytes held in the buffer
    std::size_t next = 0; // reading: the first byte of the buffer not yet handed out
    bool sawNul = false;  // some byte read so far was zero: lines need a closer look
    bool writing = false; // the buffer holds output, not input
    bool writeFailed = false;
};

enum class VosLine {
    Read,      // one line, its terminator removed
    End,       // end of file, no more lines
    TooLong,   // the line does not fit in the caller's buffer
    ReadError, // the system reported a read error
};

// One piece of an output line; a line is written from several without formatting.
struct VosPiece {
    const char* text;
    std::size_t length;
};

bool VosFileOpen(VosFile* file, const char* name, VosOpenMode mode);

// Reads up to LF, CR or CR LF (one terminator), or the end of the file. `*line` and
// `*length` give the line without its terminator and without a terminating zero: it
// points into the file's buffer when the line lies there whole (most lines: no copy),
// else into `scratch`, where it was assembled. Either stays valid until the next call.
// A line longer than size - 1 bytes is reported as TooLong.
VosLine VosReadLine(VosFile* file, char* scratch, std::size_t size, const char** line,
                    std::size_t* length);

// Appends the pieces and CR LF. False once any write has failed.
bool VosWriteLine(VosFile* file, const VosPiece* pieces, int count);

// Writes what is buffered and closes. False if any write or the close failed.
bool VosFileClose(VosFile* file);

} // namespace inifile

// Buffered line writer over one open file (1024-byte buffer). Loading reads a file whole
// instead (inifile_parse.cpp): its bytes become the store's text.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/vos_descriptor.h"

namespace inifile {

struct VosFile {
    static constexpr std::size_t kBufferSize = 1024;

    VosDescriptor descriptor = kNoDescriptor;
    std::uint64_t position = 0; // file offset just past the bytes buffered to write
    char buffer[kBufferSize];
    std::size_t fill = 0; // bytes held in the buffer
    bool writeFailed = false;
};

// One piece of an output line; a line is written from several without formatting.
struct VosPiece {
    const char* text;
    std::size_t length;
};

bool VosFileOpen(VosFile* file, const char* name, VosOpenMode mode);

// Appends the pieces and CR LF. False once any write has failed.
bool VosWriteLine(VosFile* file, const VosPiece* pieces, int count);

// Writes what is buffered and closes. False if any write or the close failed.
bool VosFileClose(VosFile* file);

} // namespace inifile

#include "platform/vos_file.h"

#include <cstring>

namespace inifile {

namespace {

bool Flush(VosFile* file) {
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
    file->writeFailed = false;
    return file->descriptor != kNoDescriptor;
}

bool VosWriteLine(VosFile* file, const VosPiece* pieces, int count) {
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

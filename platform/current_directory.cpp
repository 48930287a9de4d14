#include "platform/current_directory.h"

#include <windows.h>

CurrentDirectoryKeeper::CurrentDirectoryKeeper(std::size_t capacity) {
    if (capacity > sizeof path_)
        capacity = sizeof path_;
    const DWORD length = ::GetCurrentDirectoryA(static_cast<DWORD>(capacity), path_);
    // A longer directory reports the size it needs and writes nothing usable.
    remembered_ = length > 0 && length < capacity;
    if (!remembered_)
        path_[0] = '\0';
}

void CurrentDirectoryKeeper::Restore() {
    if (remembered_)
        ::SetCurrentDirectoryA(path_);
    remembered_ = false;
}

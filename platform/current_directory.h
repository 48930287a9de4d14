// The process's current directory, kept for the length of a scope. The tree walks, the
// shortcut step and the viewer registration make other folders current; each puts the
// remembered one back on every way out.
#pragma once

#include <cstddef>

#include "platform/bounded_text.h"

class CurrentDirectoryKeeper {
public:
    // Remembers the current directory in a buffer of `capacity` bytes (at most a path
    // buffer). A directory that does not fit is not remembered, and nothing is restored.
    explicit CurrentDirectoryKeeper(std::size_t capacity = bounded::kPathSize);
    ~CurrentDirectoryKeeper() { Restore(); }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;

    bool Remembered() const { return remembered_; }
    // The remembered directory; empty when none is.
    const char* Path() const { return path_; }
    // Puts the remembered directory back now (and not again at the end of the scope).
    void Restore();
    // Leaves whatever is current at the end of the scope.
    void Release() { remembered_ = false; }

private:
    char path_[bounded::kPathSize] = "";
    bool remembered_ = false;
};

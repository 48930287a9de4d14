// The command texts that the DDE client sends to Program Manager. Pure text functions,
// so the exact bytes are tested on any host; the conversation itself is in ddeobject.h.
//
// No quoting or escaping is applied: Program Manager rejects a command whose argument
// holds a double quote, a comma or a bracket, and the caller passes plain names.
#pragma once

#include <cstddef>

namespace dde {

// Size of the command buffer of CDDEObject: 260 characters and the terminator.
constexpr std::size_t kCommandSize = 261;

// [creategroup("group", "1")] on Win32s, [creategroup("group", "0")] elsewhere.
// False, with `out` empty, when the command does not fit in `outSize` bytes.
bool FormatCreateGroup(const char* group, bool win32s, char* out, std::size_t outSize);

// [additem("commandLine","name","iconPath",0)]: Program Manager wants the command line
// first although callers think of the item's name first. False, with `out` empty, when
// the command does not fit in `outSize` bytes.
bool FormatAddItem(const char* name, const char* commandLine, const char* iconPath, char* out,
                   std::size_t outSize);

} // namespace dde

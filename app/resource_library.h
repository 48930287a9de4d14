// The translated resource library, named without Win32 so that cdcheck can name it too.
// The application loads it by name at start-up, so from the program folder it starts in;
// the kit keeps the German one below the Windows platform's folder, in kGermanFolder, for
// a publisher to copy beside the setup.
#pragma once

namespace resource_library {

constexpr char kFileName[] = "set32res.dll";
constexpr char kGermanFolder[] = "\\lang\\german";

} // namespace resource_library

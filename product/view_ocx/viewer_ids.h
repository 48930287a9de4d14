// The names under which the viewer control is registered; shared with its tests.
#pragma once

#include <windows.h>

namespace viewer {

// {06512320-3A45-4B5B-AA4D-6B1E9FCFC0CD}
constexpr CLSID kClsid = {
    0x06512320, 0x3a45, 0x4b5b, {0xaa, 0x4d, 0x6b, 0x1e, 0x9f, 0xcf, 0xc0, 0xcd}};
constexpr char kClsidText[] = "{06512320-3A45-4B5B-AA4D-6B1E9FCFC0CD}";
constexpr char kProgId[] = "Lumora.ViewerControl.1";
constexpr char kName[] = "Lumora Viewer Control";

} // namespace viewer

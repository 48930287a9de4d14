#include "app/windowsearch.h"

#include <cstring>

#include "platform/bounded_text.h"

HWND FindTopLevelWindowByTitle(const char* titlePart) {
    HWND topmost = ::GetTopWindow(NULL);
    if (topmost == NULL)
        return NULL;
    for (HWND window = ::GetWindow(topmost, GW_HWNDNEXT); window != NULL;
         window = ::GetWindow(window, GW_HWNDNEXT)) {
        char title[bounded::kPathSize] = "";
        ::GetWindowTextA(window, title, sizeof(title));
        if (std::strstr(title, titlePart) != nullptr)
            return window;
    }
    return NULL;
}

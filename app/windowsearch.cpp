#include "app/windowsearch.h"

#include <cstring>

HWND FindTopLevelWindowByTitle(const char* titlePart) {
    HWND topmost = ::GetTopWindow(NULL);
    if (topmost == NULL)
        return NULL;
    for (HWND window = ::GetWindow(topmost, GW_HWNDNEXT); window != NULL;
         window = ::GetWindow(window, GW_HWNDNEXT)) {
        char title[261] = "";
        ::GetWindowTextA(window, title, sizeof(title));
        if (std::strstr(title, titlePart) != nullptr)
            return window;
    }
    return NULL;
}

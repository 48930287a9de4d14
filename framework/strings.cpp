#include "framework/strings.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "framework/module.h"
#include "framework/winapp.h"

std::string LoadResString(UINT id) {
    // LoadStringA gives no length up front: grow until the text fits with room to spare.
    // A string-table entry holds at most 65535 characters.
    for (int size = 256; size <= 65536 * 2; size *= 2) {
        std::vector<char> buffer(size);
        int length = ::LoadStringA(AfxGetResourceHandle(), id, buffer.data(), size);
        if (length <= 0)
            return std::string();
        if (length < size - 1)
            return std::string(buffer.data(), length);
    }
    return std::string();
}

std::string FormatString(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    std::string result;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        result.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    return result;
}

int AfxMessageBox(const char* text, UINT type) {
    CWinApp* app = AfxGetApp();
    const char* caption = app != nullptr ? app->m_strAppName.c_str() : nullptr;
    return ::MessageBoxA(NULL, text, caption, type);
}

int AfxMessageBox(UINT textId, UINT type) {
    return AfxMessageBox(LoadResString(textId).c_str(), type);
}

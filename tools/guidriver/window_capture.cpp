#include "tools/guidriver/window_capture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace guidriver {

namespace {

constexpr DWORD kSettleMs = 50;
constexpr UINT kMessageTimeoutMs = 5000;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rows; // bottom-up BGR rows, each padded to 4 bytes
};

int RowBytes(int width) {
    return (width * 3 + 3) & ~3;
}

// The screen's pixels under the window's rectangle.
bool Grab(HWND hwnd, Picture* picture) {
    RECT rect;
    if (!IsWindow(hwnd) || !GetWindowRect(hwnd, &rect))
        return false;
    picture->width = rect.right - rect.left;
    picture->height = rect.bottom - rect.top;
    if (picture->width <= 0 || picture->height <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, picture->width, picture->height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool ok = BitBlt(memory, 0, 0, picture->width, picture->height, screen, rect.left, rect.top,
                     SRCCOPY) != FALSE;
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture->width;
    info.bmiHeader.biHeight = picture->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    picture->rows.assign(static_cast<std::size_t>(RowBytes(picture->width)) * picture->height, 0);
    ok = ok && GetDIBits(memory, bitmap, 0, picture->height, picture->rows.data(), &info,
                         DIB_RGB_COLORS) == picture->height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

bool WriteBmp(const Picture& picture, const std::string& path) {
    const std::uint32_t headers = 14 + 40;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    PutLe(out, headers + static_cast<std::uint32_t>(picture.rows.size()), 4);
    PutLe(out, 0, 4);
    PutLe(out, headers, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(picture.width), 4);
    PutLe(out, static_cast<std::uint32_t>(picture.height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, BI_RGB, 4);
    PutLe(out, static_cast<std::uint32_t>(picture.rows.size()), 4);
    PutLe(out, 2835, 4); // 72 dots per inch
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size() &&
              std::fwrite(picture.rows.data(), 1, picture.rows.size(), file) == picture.rows.size();
    return std::fclose(file) == 0 && ok;
}

// Returns once the window's thread has handled everything sent before.
void Sync(HWND hwnd) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &ignored);
}

} // namespace

bool SaveWindowPicture(HWND hwnd, const std::string& bmpPath, DWORD timeoutMs) {
    // The window paints itself and its controls now; the display shows it once its
    // process has passed the pictures on, which nothing reports: the picture is taken
    // when two grabs a moment apart agree.
    Sync(hwnd);
    RedrawWindow(hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sync(hwnd);
    Picture last;
    Picture now;
    if (!Grab(hwnd, &last))
        return false;
    DWORD start = GetTickCount();
    for (;;) {
        Sleep(kSettleMs);
        if (!Grab(hwnd, &now))
            return false;
        if (now.rows == last.rows || GetTickCount() - start >= timeoutMs)
            break;
        last.rows.swap(now.rows);
    }
    return WriteBmp(now, bmpPath);
}

} // namespace guidriver

// A program with one import its target Windows lacks (GetTickCount64 came with Windows
// Vista), planted to show that the import audit refuses it.
#include <windows.h>

int main() {
    return static_cast<int>(::GetTickCount64() & 1);
}

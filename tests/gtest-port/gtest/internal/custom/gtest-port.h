// GoogleTest's hook for a platform's own settings, used by the Windows builds. Their
// compiler's win32 thread model has no std::mutex, on which GoogleTest builds the one
// class below; GoogleTest keeps its own Win32 locks for everything else. The tests run on
// one thread, so the class only has to exist.
#ifndef LUMORA_GTEST_CUSTOM_PORT_H
#define LUMORA_GTEST_CUSTOM_PORT_H

#include <atomic>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    void Notify() { notified_ = true; }
    void WaitForNotification() {
        while (!notified_) {
        }
    }

private:
    std::atomic<bool> notified_{false};
};

}  // namespace internal
}  // namespace testing

#endif

// Bump-pointer memory pool: every node and string of one INI file lives in one pool and
// is freed with it in a single pass, so the store needs no per-node bookkeeping.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>

namespace inifile {

class Pool {
public:
    Pool() = default;
    ~Pool();
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    // Null when the memory is exhausted. `align` must be a power of two.
    void* Allocate(std::size_t size, std::size_t align = alignof(std::max_align_t));
    template <class T> T* New() {
        void* block = Allocate(sizeof(T), alignof(T));
        return block ? new (block) T() : nullptr;
    }
    // A copy of `length` bytes of `text` with a terminator; null when out of memory.
    char* CopyString(const char* text, std::size_t length);
    // `text` extended by `more`: in place when `text` is the newest block and the chunk
    // has room, else a copy (the old one stays until the pool goes). `length` is the
    // current length of `text`. Null when out of memory.
    char* Append(char* text, std::size_t length, const char* more, std::size_t moreLength);
    // `block` of `size` bytes (aligned to `align`, or null with size 0) extended by
    // `moreSize` bytes of `more`: in place when it is the newest block and the chunk has
    // room, else a copy in a chunk with room for as much again (the old one stays until
    // the pool goes). Null when out of memory.
    void* Extend(void* block, std::size_t size, const void* more, std::size_t moreSize,
                 std::size_t align) {
        // Inline for the common case, an array growing at the pool's top while it loads.
        if (block && static_cast<char*>(block) + size == next_ &&
            static_cast<std::size_t>(end_ - next_) >= moreSize) {
            std::memcpy(next_, more, moreSize);
            next_ += moreSize;
            return block;
        }
        return ExtendByCopy(block, size, more, moreSize, align);
    }
    // Bytes obtained from the system (chunk headers included): the store's footprint.
    std::size_t BytesReserved() const { return reserved_; }

    // Tests only: after `bytes` more bytes of chunks, every further chunk request fails,
    // so the out-of-memory paths can be exercised. Pass SIZE_MAX to lift the limit.
    static void SetChunkBudgetForTesting(std::size_t bytes);

private:
    struct Chunk;
    Chunk* chunks_ = nullptr;
    char* next_ = nullptr;
    char* end_ = nullptr;
    std::size_t reserved_ = 0;
    std::size_t nextChunkSize_ = 0;
    bool Grow(std::size_t atLeast);
    void* ExtendByCopy(void* block, std::size_t size, const void* more, std::size_t moreSize,
                       std::size_t align);
};

} // namespace inifile

#include "platform/ini_pool.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/vos_descriptor.h"

namespace inifile {

namespace {

// Chunks start small (most files are a few KB) and double up to 8 MB, so a large file
// costs a handful of allocations and a small one wastes little. (With 1 MB chunks,
// repeated loads of a 32 MB file took 15% longer: the C library returned each freed
// chunk to the system, and every load faulted all of its pages in afresh.)
constexpr std::size_t kFirstChunk = 16 * 1024;
constexpr std::size_t kLargestChunk = 8 * 1024 * 1024;
constexpr std::size_t kAlign = alignof(std::max_align_t);
// Chunks from this size on come from the system directly (VosAllocateLarge), in whole
// pages: mostly the block of a large file's bytes. Smaller ones come from the C library,
// which keeps them for the next load.
constexpr std::size_t kLargeChunk = 4 * 1024 * 1024;
constexpr std::size_t kPage = 4096;

std::size_t g_chunkBudget = SIZE_MAX;

} // namespace

struct alignas(std::max_align_t) Pool::Chunk {
    Chunk* next;
    std::size_t size; // bytes obtained, this header included
};

Pool::~Pool() {
    while (chunks_) {
        Chunk* next = chunks_->next;
        if (chunks_->size >= kLargeChunk)
            VosFreeLarge(chunks_, chunks_->size);
        else
            std::free(chunks_);
        chunks_ = next;
    }
}

void Pool::SetChunkBudgetForTesting(std::size_t bytes) {
    g_chunkBudget = bytes;
}

bool Pool::Grow(std::size_t atLeast) {
    if (nextChunkSize_ == 0)
        nextChunkSize_ = kFirstChunk;
    std::size_t payload = nextChunkSize_;
    if (payload < atLeast)
        payload = atLeast; // an oversized block gets a chunk of its own size
    if (payload > SIZE_MAX - sizeof(Chunk))
        return false;
    std::size_t total = sizeof(Chunk) + payload;
    if (total >= kLargeChunk) {
        if (total > SIZE_MAX - kPage)
            return false;
        total = (total + kPage - 1) / kPage * kPage;
        payload = total - sizeof(Chunk);
    }
    if (total > g_chunkBudget)
        return false;
    auto* chunk = static_cast<Chunk*>(total >= kLargeChunk ? VosAllocateLarge(total)
                                                           : std::malloc(total));
    if (!chunk)
        return false;
    chunk->size = total;
    if (g_chunkBudget != SIZE_MAX)
        g_chunkBudget -= total;
    chunk->next = chunks_;
    chunks_ = chunk;
    next_ = reinterpret_cast<char*>(chunk + 1);
    end_ = next_ + payload;
    reserved_ += total;
    if (nextChunkSize_ < kLargestChunk)
        nextChunkSize_ *= 2;
    return true;
}

void* Pool::Allocate(std::size_t size, std::size_t align) {
    if (size == 0)
        size = 1;
    if (size > SIZE_MAX - kAlign || align > kAlign)
        return nullptr;
    std::size_t pad = (0 - reinterpret_cast<std::uintptr_t>(next_)) & (align - 1);
    if (static_cast<std::size_t>(end_ - next_) < pad + size) {
        if (!Grow(size))
            return nullptr;
        pad = 0; // a fresh chunk starts at the strictest alignment
    }
    void* block = next_ + pad;
    next_ += pad + size;
    return block;
}

char* Pool::CopyString(const char* text, std::size_t length) {
    // Strings need no alignment: they are packed byte-tight between the nodes.
    if (length == SIZE_MAX)
        return nullptr;
    std::size_t size = length + 1;
    if (static_cast<std::size_t>(end_ - next_) < size && !Grow(size))
        return nullptr;
    char* copy = next_;
    next_ += size;
    if (length)
        std::memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

char* Pool::Append(char* text, std::size_t length, const char* more, std::size_t moreLength) {
    if (moreLength > SIZE_MAX / 4 - length)
        return nullptr;
    std::size_t needed = length + moreLength + 1;
    if (text + length + 1 == next_ && static_cast<std::size_t>(end_ - next_) >= moreLength) {
        std::memcpy(text + length, more, moreLength);
        next_ += moreLength;
        text[length + moreLength] = '\0';
        return text;
    }
    // A value that outgrows its chunk moves to one twice its size, so a value built from
    // many continuation lines is copied a logarithmic number of times, not once per line.
    if (static_cast<std::size_t>(end_ - next_) < needed && !Grow(2 * needed))
        return nullptr;
    char* copy = next_;
    next_ += needed;
    std::memcpy(copy, text, length);
    std::memcpy(copy + length, more, moreLength);
    copy[length + moreLength] = '\0';
    return copy;
}

void* Pool::ExtendByCopy(void* block, std::size_t size, const void* more, std::size_t moreSize,
                         std::size_t align) {
    if (moreSize > SIZE_MAX / 4 - size)
        return nullptr;
    std::size_t needed = size + moreSize;
    std::size_t pad = (0 - reinterpret_cast<std::uintptr_t>(next_)) & (align - 1);
    if (static_cast<std::size_t>(end_ - next_) < pad + needed && !Grow(2 * needed))
        return nullptr;
    char* copy = static_cast<char*>(Allocate(needed, align));
    if (!copy)
        return nullptr;
    if (size)
        std::memcpy(copy, block, size);
    std::memcpy(copy + size, more, moreSize);
    return copy;
}

} // namespace inifile

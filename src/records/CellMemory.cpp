#include "records/CellMemory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

#ifdef __linux__
constexpr std::size_t largePage = std::size_t{2} << 20;

std::size_t roundUp(std::size_t bytes, std::size_t unit) {
    return (bytes + unit - 1) / unit * unit;
}

// An anonymous mapping starting on a large-page boundary: the spare head and tail of a
// mapping one large page longer are given back.
void* mapAligned(std::size_t length) {
    void* mapped = mmap(nullptr, length + largePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return nullptr;
    }
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + largePage - 1) & ~(largePage - 1);
    if (aligned > start) {
        munmap(mapped, aligned - start);
    }
    const std::uintptr_t tail = aligned + length;
    const std::uintptr_t end = start + length + largePage;
    if (end > tail) {
        munmap(reinterpret_cast<void*>(tail), end - tail);
    }
    void* block = reinterpret_cast<void*>(aligned);
    madvise(block, length, MADV_HUGEPAGE); // a request: without large pages nothing changes
    return block;
}
#endif

} // namespace

CellMemory::CellMemory(std::size_t bytes) {
#ifdef __linux__
    length_ = roundUp(bytes, largePage);
    block_ = mapAligned(length_);
#else
    length_ = bytes;
    block_ = std::calloc(bytes, 1); // large blocks come straight from the system, zeroed
#endif
    if (!block_) {
        throw std::bad_alloc();
    }
}

CellMemory::~CellMemory() {
#ifdef __linux__
    munmap(block_, length_);
#else
    std::free(block_);
#endif
}

void* CellMemory::take(std::size_t bytes) {
    const std::size_t size = footprint(bytes);
    if (size > length_ - used_) {
        return nullptr;
    }
    void* slice = static_cast<char*>(block_) + used_;
    used_ += size;
    return slice;
}

#pragma once

#include <cstddef>

// One block of memory that starts zeroed and costs nothing until it is written: the
// system hands out untouched pages as zero on first use. Where the system offers large
// pages on request (Linux), the block asks for them, so the first writes over a table
// of a few megabytes fault a handful of times instead of once every 4 KB; a fault is dear
// on a virtual machine, and a big school's first count writes over all of its tables.
class CellMemory {
public:
    explicit CellMemory(std::size_t bytes);
    ~CellMemory();
    CellMemory(const CellMemory&) = delete;
    CellMemory& operator=(const CellMemory&) = delete;

    // The next `bytes` of the block, on a 64-byte boundary; nullptr once it is used up.
    void* take(std::size_t bytes);

    // What take needs to hand out `bytes`: the request and its alignment.
    static constexpr std::size_t footprint(std::size_t bytes) { return (bytes + 63) / 64 * 64; }

private:
    void* block_ = nullptr;
    std::size_t length_ = 0; // as mapped (or allocated)
    std::size_t used_ = 0;
};

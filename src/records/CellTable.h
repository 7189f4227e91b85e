#pragma once

#include "records/CellMemory.h"

#include <cstddef>
#include <new>
#include <type_traits>

// A table of a fixed number of cells, all zero at first, in a slice of a CellMemory: it
// costs no time and no resident memory until a cell is written, and then only the pages
// its written cells fall on. A small school fills a few thousand of the tables' 180,036
// cells; zeroing every cell at start-up (and copying the pages again when the platform
// forks a helper process soon after) was the largest share of the start's page faults.
template <typename T> class CellTable {
    static_assert(std::is_trivial_v<T>, "cells are plain numbers whose zero is all bits zero");

public:
    CellTable(CellMemory& memory, std::size_t size)
        : cells_(static_cast<T*>(memory.take(size * sizeof(T)))), size_(size) {
        if (!cells_) {
            throw std::bad_alloc(); // the block was sized for fewer tables
        }
    }
    CellTable(const CellTable&) = delete;
    CellTable& operator=(const CellTable&) = delete;

    // What a table of `size` cells takes of a CellMemory.
    static constexpr std::size_t footprint(std::size_t size) {
        return CellMemory::footprint(size * sizeof(T));
    }

    T& operator[](std::size_t i) { return cells_[i]; }
    const T& operator[](std::size_t i) const { return cells_[i]; }
    T* data() { return cells_; }
    const T* data() const { return cells_; }
    std::size_t size() const { return size_; }
    T* begin() { return cells_; }
    T* end() { return cells_ + size_; }
    const T* begin() const { return cells_; }
    const T* end() const { return cells_ + size_; }

private:
    T* cells_;
    std::size_t size_;
};

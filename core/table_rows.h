// The columns of the large tables (wire table, segment currents, far and
// near field points): sized at their capacities from the settings (up to
// 11000 segments and 32767 field points, some 3.6 MB), but only the rows a
// deck or a report writes cost memory. A column of 16 KiB or more is mapped
// as fresh zero pages that the system supplies when a row is first written;
// a smaller one comes zeroed from the heap. Value-initialised rows (a
// resize) are therefore written by nobody: their bits are zero already,
// which is the value 0 of every row type held here.
#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/table_column.h"

namespace wavra {

// Memory of `bytes` bytes, all zero; nullptr when there is none.
void* zeroedMemory(size_t bytes);
// Gives back what zeroedMemory(bytes) returned.
void releaseZeroedMemory(void* memory, size_t bytes) noexcept;

template <class T>
class ZeroPageAllocator {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_default_constructible_v<T>,
                  "rows whose value 0 is all zero bits");

public:
    using value_type = T;

    ZeroPageAllocator() noexcept = default;
    template <class U>
    ZeroPageAllocator(const ZeroPageAllocator<U>&) noexcept {}

    T* allocate(size_t n) {
        if (n > std::numeric_limits<size_t>::max() / sizeof(T)) throw std::bad_array_new_length();
        void* memory = zeroedMemory(n * sizeof(T));
        if (!memory) throw std::bad_alloc();
        return static_cast<T*>(memory);
    }
    void deallocate(T* p, size_t n) noexcept { releaseZeroedMemory(p, n * sizeof(T)); }

    // A value-initialised row: the memory holds zero bits already.
    template <class U>
    void construct(U*) noexcept {}
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const ZeroPageAllocator<U>&) const noexcept {
        return true;
    }
};

// A large table column, rows numbered from 1 as every table of the model.
template <class T>
using TableRows = TableColumn<T, ZeroPageAllocator<T>>;

// Sizes a column to rows 0..rows, every row 0, with fresh memory: the old
// rows go back to the system and no new row is written.
template <class T>
void resetRows(TableRows<T>& column, int rows) {
    TableRows<T>().swap(column);
    column.resize(static_cast<size_t>(rows) + 1);
}

} // namespace wavra

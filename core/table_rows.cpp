#include "core/table_rows.h"

#include <cstdlib>
#include <sys/mman.h>

namespace wavra {

namespace {

// From this size on a column is mapped: its pages are the system's zero
// page until written, and go back whole when the column is released.
constexpr size_t kMappedBytes = 16 * 1024;

} // namespace

void* zeroedMemory(size_t bytes) {
    if (bytes < kMappedBytes) return std::calloc(bytes == 0 ? 1 : bytes, 1);
    void* memory = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return memory == MAP_FAILED ? nullptr : memory;
}

void releaseZeroedMemory(void* memory, size_t bytes) noexcept {
    if (!memory) return;
    if (bytes < kMappedBytes) std::free(memory);
    else ::munmap(memory, bytes);
}

} // namespace wavra

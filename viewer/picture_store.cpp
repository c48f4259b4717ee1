#include "viewer/picture_store.h"

namespace wavra::view {

int PictureStore::freeSlot() const {
    for (int n = 1; n <= kSlotCount; ++n)
        if (!slot(n).occupied()) return n;
    return 0;
}

int PictureStore::occupiedCount() const {
    int count = 0;
    for (const Slot& s : m_slots) count += s.occupied();
    return count;
}

void PictureStore::put(int number, PicturePtr picture, const std::string& sourceName, const std::string& label) {
    slot(number) = Slot{std::move(picture), sourceName, label, number};
}

bool PictureStore::show(int number) {
    if (!occupied(number)) return false;
    m_current = number;
    return true;
}

int PictureStore::nextOccupied(int from) const {
    for (int n = from + 1; n <= kSlotCount; ++n)
        if (occupied(n)) return n;
    return 0;
}

int PictureStore::previousOccupied(int from) const {
    for (int n = from - 1; n >= 1; --n)
        if (occupied(n)) return n;
    return 0;
}

void PictureStore::removeCurrent() {
    if (m_current == 0) return;
    slot(m_current) = Slot{};
    int next = nextOccupied(m_current);
    if (next == 0) next = previousOccupied(m_current);
    m_current = next;
}

} // namespace wavra::view

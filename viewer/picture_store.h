// The viewer's 20 picture slots, numbered 1 to 20, and which one is shown.
#pragma once

#include <array>
#include <memory>
#include <string>

namespace wavra::view {

// A picture as the store sees it: the window layer keeps the pixels.
class Picture {
public:
    virtual ~Picture() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};
using PicturePtr = std::shared_ptr<const Picture>;

inline constexpr int kSlotCount = 20;
inline constexpr const char* kFromClipboard = "From clipboard.";

struct Slot {
    PicturePtr picture;     // empty when the slot is free
    std::string sourceName; // file it came from, or "From clipboard."
    std::string label;      // one line shown with the picture
    int shownNumber = 0;    // the number shown for it

    bool occupied() const { return picture != nullptr; }
};

class PictureStore {
public:
    // The lowest free slot, 0 when all are taken.
    int freeSlot() const;
    int occupiedCount() const;

    // Puts a picture into slot `number` (1..20).
    void put(int number, PicturePtr picture, const std::string& sourceName, const std::string& label);
    const Slot& slot(int number) const { return m_slots.at(static_cast<size_t>(number - 1)); }
    Slot& slot(int number) { return m_slots.at(static_cast<size_t>(number - 1)); }
    bool occupied(int number) const { return number >= 1 && number <= kSlotCount && slot(number).occupied(); }

    // 0 when nothing is shown.
    int current() const { return m_current; }
    // Shows an occupied slot; false (and nothing changes) for an empty one.
    bool show(int number);

    // The nearest occupied slot above or below `from`, 0 when there is none.
    int nextOccupied(int from) const;
    int previousOccupied(int from) const;

    // Empties the current slot and shows the next occupied one (upward
    // first, then downward); 0 when none is left.
    void removeCurrent();

private:
    std::array<Slot, kSlotCount> m_slots;
    int m_current = 0;
};

} // namespace wavra::view

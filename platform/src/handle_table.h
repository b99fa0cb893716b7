// handle_table.h - objects behind handles found by indexing, not hashing.
// A handle holds its object's slot and the slot's generation; deleting an
// object moves the generation on, so a handle kept after its object is gone
// finds nothing, even once the slot holds another object. Slots live in
// blocks that never move or go away: an object keeps its address while it
// lives. Adding takes a free slot (allocating only when a new block is
// needed), finding is an index and a compare. Everything runs on one thread.
//
// A table needs no constructor to run: one with static storage is ready
// before any code of the program runs, and is never torn down while the
// program ends (a window destroyed late still finds its objects).
#ifndef PLATFORM_HANDLE_TABLE_H
#define PLATFORM_HANDLE_TABLE_H

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <utility>

namespace platform {

template <class Object>
class HandleTable {
public:
    constexpr HandleTable() = default;
    HandleTable(const HandleTable&) = delete;
    HandleTable& operator=(const HandleTable&) = delete;

    // Adds an object made in its slot from `args`; null when the table is
    // full. `handle` is its handle.
    template <class... Args>
    Object* Add(uintptr_t& handle, Args&&... args) {
        Slot* free = free_;
        if (free != nullptr) {
            free_ = free->nextFree;
        } else {
            free = NewSlot();
            if (free == nullptr) return nullptr;
        }
        Slot& slot = *free;
        slot.object.emplace(std::forward<Args>(args)...);
        slot.live = true;
        handle = (static_cast<uintptr_t>(slot.generation) << (kTagBits + kIndexBits)) |
                 (static_cast<uintptr_t>(slot.index) << kTagBits);
        return &*slot.object;
    }

    // The live object of a handle, or null (never made, or deleted since).
    Object* Find(uintptr_t handle) {
        if ((handle & kTagMask) != 0) return nullptr;
        uintptr_t index = (handle >> kTagBits) & kIndexMask;
        if (index >= count_) return nullptr;
        Slot& slot = SlotAt(static_cast<uint32_t>(index));
        if (!slot.live || slot.generation != handle >> (kTagBits + kIndexBits)) return nullptr;
        return &*slot.object;
    }

    // Deletes the object of a live handle (what it owns is freed now); the
    // handle finds nothing from here on.
    void Remove(uintptr_t handle) {
        if (Find(handle) != nullptr) RemoveLive(handle);
    }

    // The same for a handle just found live.
    void RemoveLive(uintptr_t handle) {
        const uint32_t index = static_cast<uint32_t>((handle >> kTagBits) & kIndexMask);
        Slot& slot = SlotAt(index);
        slot.live = false;
        slot.object.reset();
        // Generation 0 is never handed out, so no handle is ever 0.
        slot.generation = slot.generation == kGenerationMask ? 1 : slot.generation + 1;
        slot.nextFree = free_;
        free_ = &slot;
    }

private:
    // The low bits of a handle are 0, so that a handle moved by a few bytes
    // (pointer arithmetic on it) finds nothing; then the slot, then the
    // generation in the bits that are left.
    static constexpr unsigned kTagBits = 4;
    static constexpr unsigned kIndexBits = sizeof(uintptr_t) >= 8 ? 22 : 20;
    static constexpr unsigned kGenerationBits =
        sizeof(uintptr_t) * 8 - kTagBits - kIndexBits < 32 ? sizeof(uintptr_t) * 8 - kTagBits - kIndexBits : 32;
    static constexpr uintptr_t kTagMask = (uintptr_t{1} << kTagBits) - 1;
    static constexpr uintptr_t kIndexMask = (uintptr_t{1} << kIndexBits) - 1;
    static constexpr uint32_t kGenerationMask = static_cast<uint32_t>((uint64_t{1} << kGenerationBits) - 1);
    static constexpr uint32_t kMaxSlots = static_cast<uint32_t>(kIndexMask + 1);
    static constexpr uint32_t kBlockSlots = 1024;

    // Whether a slot is live and its generation come first, beside the
    // object's own first fields. Free slots are listed through `nextFree`,
    // the one freed last first, by address: taking one is a single load.
    struct Slot {
        uint32_t generation = 1;
        uint32_t index = 0;  // its place in the table, for its handles
        bool live = false;
        Slot* nextFree = nullptr;
        std::optional<Object> object;  // empty while the slot is free
    };

    Slot& SlotAt(uint32_t index) { return blocks_[index / kBlockSlots][index % kBlockSlots]; }

    // A slot never handed out before; null when the table is full or no
    // block can be allocated for it.
    Slot* NewSlot() {
        if (count_ >= kMaxSlots) return nullptr;
        if (count_ % kBlockSlots == 0) {
            Slot* block = new (std::nothrow) Slot[kBlockSlots];
            if (!block) return nullptr;
            blocks_[count_ / kBlockSlots] = block;
        }
        Slot& slot = SlotAt(count_);
        slot.index = count_++;
        return &slot;
    }

    Slot* blocks_[kMaxSlots / kBlockSlots] = {};
    uint32_t count_ = 0;  // slots handed out at least once
    Slot* free_ = nullptr;
};

}  // namespace platform

#endif

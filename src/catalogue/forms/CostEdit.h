#pragma once

#include <cstdint>

// What a catalogue form is opened for: a new entry, or the stored entry `CostItemID`. The
// caller decides, so a form never depends on what an earlier one left behind.
struct CostEdit {
    enum class Mode { Add, Edit };
    Mode CostMode = Mode::Add;
    std::int32_t CostItemID = 0; // the entry edited; 0 when adding

    static CostEdit add() { return {}; }
    static CostEdit edit(std::int32_t id) { return {Mode::Edit, id}; }
    bool editing() const { return CostMode == Mode::Edit; }
};

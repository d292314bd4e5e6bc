#include "EditorState.h"

#include <algorithm>

bool EditorState::AllSlotsChosen() const {
    return std::all_of(SlotChosen.begin(), SlotChosen.end(), [](std::uint8_t f) { return f != 0; });
}

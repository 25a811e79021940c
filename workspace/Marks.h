#pragma once

#include <cstdint>

namespace tess::workspace {

class PhotoTable;

// Toggles the current row's mark (any value but 0 counts as marked). An empty list is left
// as it is: there is no row to mark.
void toggleMark(PhotoTable& table);

// Writes `mark` into every row, walking the table from its first row with the grid suspended;
// the last row ends current (none for an empty list). The cursor's notifications still run.
void markAll(PhotoTable& table, std::int16_t mark);

} // namespace tess::workspace

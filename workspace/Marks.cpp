#include "workspace/Marks.h"

#include "workspace/PhotoTable.h"

namespace tess::workspace {

void toggleMark(PhotoTable& table) {
    if (table.isEmpty())
        return;
    table.setCurrentMark(table.currentMark() != 0 ? 0 : 1);
}

void markAll(PhotoTable& table, std::int16_t mark) {
    ControlsSuspension suspension(table);
    table.first();
    while (!table.eof()) {
        table.setCurrentMark(mark);
        table.next();
    }
}

} // namespace tess::workspace

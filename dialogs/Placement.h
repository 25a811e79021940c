#pragma once

class QWidget;

namespace tess::ui {

// Moves a top-level window so that its frame is centred on the available area of its screen
// (the primary screen before it is shown).
void centreOnScreen(QWidget* window);

} // namespace tess::ui

#pragma once

#include <QString>

namespace tess::ui {

// What every run of the program shares, set once after the application object exists: the
// application title, the desktop entry its windows belong to, the icon every window carries
// and the program's fonts.
void setUpApplication();

// The program's version as the about box shows it, the minor number in two digits: version 1.0
// reads "1.00".
QString programVersionText();

} // namespace tess::ui

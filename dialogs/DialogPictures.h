#pragma once

#include <QIcon>
#include <QPixmap>

namespace tess::ui {

// The pictures of the shared dialogs, drawn here so that they look the same on every system.

// A green check mark for OK buttons; its disabled state is a grey outline.
QIcon checkMarkIcon();

// A yellow folder, 16 x 16: open for the levels of the current path, closed for the folders
// below it.
QPixmap folderPicture(bool open);

// A small fixed-disk drive, 16 x 16, for drive lists.
QPixmap drivePicture();

} // namespace tess::ui

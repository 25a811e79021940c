#pragma once

#include <QIcon>
#include <QImage>

namespace tess::ui {

// The pictures of the shared dialogs, drawn here so that they look the same on every system,
// and drawn again for each size a screen asks for, so that they stay sharp at 150 % and 200 %.

// A green check mark for OK buttons; its disabled state is a grey outline.
QIcon checkMarkIcon();

// A small picture drawn pixel by pixel, shown as many times bigger as the screen asks, each
// pixel a block: at 200 % it is the 100 % picture doubled, not blurred.
QIcon pixelIcon(const QImage& picture);

// A yellow folder, 16 x 16: open for the levels of the current path, closed for the folders
// below it.
QIcon folderPicture(bool open);

// A small fixed-disk drive, 16 x 16, for drive lists.
QIcon drivePicture();

} // namespace tess::ui

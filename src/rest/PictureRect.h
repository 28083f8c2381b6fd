#pragma once

#include "ports/Dialogs.h"
#include "ports/Geometry.h"

namespace lumivar {

// Where a picture of the given size goes on the window: the window itself when
// stretched; otherwise at natural size and centred when it fits, else scaled to
// the width or the height with its aspect kept (single precision, as drawn before).
Rect FitPictureRect(const Rect& window, Size picture, bool stretch);

// The open-file dialog that chooses a background picture.
OpenFileRequest BackgroundPictureRequest();

}  // namespace lumivar

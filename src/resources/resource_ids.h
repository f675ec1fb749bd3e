#pragma once
// Shared by the resource script and the code.
#define mainIconId 1
// The same icon file again, as raw bytes: the tray builds its icon from the image.
#define mainIconFileId 101

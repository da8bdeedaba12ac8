// The application's icon, painted at run time (no image plug-in needed).
#pragma once

#include <QIcon>

// A folder with a star, in the sizes the tray and the window frame ask for.
QIcon applicationIcon();

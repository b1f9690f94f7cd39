// The alternating row backgrounds of the camera lists.
#pragma once

#include <QColor>

// RGB(229, 232, 239) for rows 0, 2, 4 ..., white for rows 1, 3, 5 ...
QColor rowBackground(int row);

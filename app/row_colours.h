// Lists draw their rows on alternating backgrounds.
#pragma once

#include <QColor>

inline QColor rowBackground(int row) { return row % 2 == 0 ? QColor(229, 232, 239) : QColor(255, 255, 255); }

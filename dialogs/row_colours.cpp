#include "row_colours.h"

QColor rowBackground(int row) { return row % 2 == 0 ? QColor(229, 232, 239) : QColor(Qt::white); }

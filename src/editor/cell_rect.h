#ifndef GLYPHWERK_EDITOR_CELL_RECT_H
#define GLYPHWERK_EDITOR_CELL_RECT_H

// A rectangle of grid cells, right and bottom exclusive.
struct CellRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool Contains(int k, int r) const { return k >= left && k < right && r >= top && r < bottom; }
    CellRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    bool operator==(const CellRect &) const = default;
};

#endif

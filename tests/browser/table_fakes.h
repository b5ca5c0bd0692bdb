#ifndef GLYPHWERK_TESTS_BROWSER_TABLE_FAKES_H
#define GLYPHWERK_TESTS_BROWSER_TABLE_FAKES_H

// Recording stand-ins for the table's area window and scroll bar.

#include "glyph_table.h"

#include <string>
#include <vector>

struct FakeArea : CTableArea {
    QSize size;
    std::vector<QRect> shown;
    explicit FakeArea(QSize clientSize) : size(clientSize) {}
    QSize ClientSize() const override { return size; }
    void ShowBuffer(const QRect &rect) override { shown.push_back(rect); }
};

struct FakeScrollBar : CTableScrollBar {
    int minimum = -1, maximum = -1, position = -1, top = -1, height = -1;
    bool visible = true;
    void SetScrollRange(int min, int max) override { minimum = min, maximum = max; }
    void ShowScrollBar(bool show) override { visible = show; }
    void PlaceAtParentRightEdge(int t, int h) override { top = t, height = h; }
    void SetScrollPos(int p) override { position = p; }

    // Everything the table set, e.g. "shown, range 0-94 at 0, top 0 height 500".
    std::string state() const {
        return QString::asprintf("%s, range %d-%d at %d, top %d height %d", visible ? "shown" : "hidden", minimum,
                                 maximum, position, top, height)
            .toStdString();
    }
};

#endif

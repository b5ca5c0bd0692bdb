#ifndef GLYPHWERK_EDITOR_EDIT_HISTORY_H
#define GLYPHWERK_EDITOR_EDIT_HISTORY_H

// Every state of the glyph being edited, as whole grid bitmaps in one doubly
// linked list: the glyph as opened first, then one entry per recorded change.
// Undo and Redo move the current mark; recording after an undo drops the
// entries after it. Unbounded; lives until the next Create or destruction.

#include "bdf.h"

#include <cstdint>

struct HistoryEntry {
    HistoryEntry *prev;
    HistoryEntry *next;
    unsigned char *bitmap; // owned
};

struct HistoryList {
    bdf_bbx bbx;           // the grid box: W and H of every bitmap
    uint32_t bitmap_bytes; // size of every bitmap in the list
    int32_t bpp;           // bits per pixel of every bitmap
    HistoryEntry *first;
    HistoryEntry *tail;
    HistoryEntry *current;
};

class CEditHistory {
public:
    CEditHistory() = default;
    CEditHistory(const CEditHistory &) = delete;
    CEditHistory &operator=(const CEditHistory &) = delete;
    ~CEditHistory();

    // Starts over with the glyph unpacked into a blank grid of `box` as the only
    // entry. Returns 0, leaving no list, when memory runs out.
    int Create(const bdf_glyph *glyph, const bdf_bbx &box, int bpp = 1);
    // Drops the whole list; every query then answers 0 or null.
    void Reset();

    // Records `bitmap` (ownership passes here, also on failure) after the current entry.
    int Push(unsigned char *bitmap);
    // Records the current bitmap moved one pixel in `direction` (1 to 8).
    int ShiftGrid(int direction);
    int Undo();
    int Redo();
    int CanUndo() const;
    int CanRedo() const;

    unsigned char *CurrentBitmap() const;
    const HistoryList *List() const { return m_pList; }

private:
    void Record(HistoryEntry *entry);

    HistoryList *m_pList = nullptr;
};

#endif

#include "edit_history.h"

#include "grid_bitmap.h"

#include <cstdlib>

namespace {

void ReleaseFrom(HistoryEntry *entry) {
    while (entry) {
        HistoryEntry *next = entry->next;
        free(entry->bitmap);
        free(entry);
        entry = next;
    }
}

} // namespace

CEditHistory::~CEditHistory() { Reset(); }

void CEditHistory::Reset() {
    if (!list_)
        return;
    ReleaseFrom(list_->first);
    free(list_);
    list_ = nullptr;
}

int CEditHistory::Create(const bdf_glyph *glyph, const bdf_bbx &box, int bpp) {
    Reset();
    auto *list = static_cast<HistoryList *>(calloc(1, sizeof(HistoryList)));
    if (!list)
        return 0;
    list->bbx = box;
    list->bpp = bpp;
    list->bitmap_bytes = GridBytes(box.width, box.height, bpp);
    auto *entry = static_cast<HistoryEntry *>(calloc(1, sizeof(HistoryEntry)));
    // calloc(0) may answer null; an empty box still gets a (one-byte) bitmap.
    unsigned char *bitmap =
        entry ? static_cast<unsigned char *>(calloc(list->bitmap_bytes ? list->bitmap_bytes : 1, 1)) : nullptr;
    if (!bitmap) {
        free(entry);
        free(list);
        return 0;
    }
    entry->bitmap = bitmap;
    list->first = list->tail = list->current = entry;
    UnpackGlyph(bitmap, glyph, box, bpp);
    list_ = list;
    return 1;
}

void CEditHistory::Record(HistoryEntry *entry) {
    if (list_->current != list_->tail) {
        ReleaseFrom(list_->current->next);
        list_->current->next = nullptr;
    }
    entry->prev = list_->current;
    list_->current->next = entry;
    list_->tail = entry;
    list_->current = entry;
}

int CEditHistory::Push(unsigned char *bitmap) {
    if (!list_ || !bitmap) {
        free(bitmap);
        return 0;
    }
    auto *entry = static_cast<HistoryEntry *>(calloc(1, sizeof(HistoryEntry)));
    if (!entry) {
        free(bitmap);
        return 0;
    }
    entry->bitmap = bitmap;
    Record(entry);
    return 1;
}

int CEditHistory::ShiftGrid(int direction) {
    if (!list_)
        return 0;
    auto *entry = static_cast<HistoryEntry *>(calloc(1, sizeof(HistoryEntry)));
    auto *bitmap = static_cast<unsigned char *>(calloc(list_->bitmap_bytes ? list_->bitmap_bytes : 1, 1));
    if (!entry || !bitmap) {
        free(entry);
        free(bitmap);
        return 0;
    }
    entry->bitmap = bitmap;
    if (list_->current->bitmap)
        ShiftBitmap(list_->current->bitmap, bitmap, direction, list_->bbx.width, list_->bbx.height, list_->bpp);
    Record(entry);
    return 1;
}

int CEditHistory::Undo() {
    if (!CanUndo())
        return 0;
    list_->current = list_->current->prev;
    return 1;
}

int CEditHistory::Redo() {
    if (!CanRedo())
        return 0;
    list_->current = list_->current->next;
    return 1;
}

int CEditHistory::CanUndo() const { return list_ && list_->current->prev ? 1 : 0; }
int CEditHistory::CanRedo() const { return list_ && list_->current->next ? 1 : 0; }

unsigned char *CEditHistory::CurrentBitmap() const { return list_ ? list_->current->bitmap : nullptr; }

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
    if (!m_pList)
        return;
    ReleaseFrom(m_pList->first);
    free(m_pList);
    m_pList = nullptr;
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
    m_pList = list;
    return 1;
}

void CEditHistory::Record(HistoryEntry *entry) {
    if (m_pList->current != m_pList->tail) {
        ReleaseFrom(m_pList->current->next);
        m_pList->current->next = nullptr;
    }
    entry->prev = m_pList->current;
    m_pList->current->next = entry;
    m_pList->tail = entry;
    m_pList->current = entry;
}

int CEditHistory::Push(unsigned char *bitmap) {
    if (!m_pList || !bitmap) {
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
    if (!m_pList)
        return 0;
    auto *entry = static_cast<HistoryEntry *>(calloc(1, sizeof(HistoryEntry)));
    auto *bitmap = static_cast<unsigned char *>(calloc(m_pList->bitmap_bytes ? m_pList->bitmap_bytes : 1, 1));
    if (!entry || !bitmap) {
        free(entry);
        free(bitmap);
        return 0;
    }
    entry->bitmap = bitmap;
    if (m_pList->current->bitmap)
        ShiftBitmap(m_pList->current->bitmap, bitmap, direction, m_pList->bbx.width, m_pList->bbx.height, m_pList->bpp);
    Record(entry);
    return 1;
}

int CEditHistory::Undo() {
    if (!CanUndo())
        return 0;
    m_pList->current = m_pList->current->prev;
    return 1;
}

int CEditHistory::Redo() {
    if (!CanRedo())
        return 0;
    m_pList->current = m_pList->current->next;
    return 1;
}

int CEditHistory::CanUndo() const { return m_pList && m_pList->current->prev ? 1 : 0; }
int CEditHistory::CanRedo() const { return m_pList && m_pList->current->next ? 1 : 0; }

unsigned char *CEditHistory::CurrentBitmap() const { return m_pList ? m_pList->current->bitmap : nullptr; }

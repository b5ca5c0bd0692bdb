#include "encoding_set.h"

#include <stdlib.h>

static uint32_t *find_slot(uint32_t *slots, uint32_t size, uint32_t value) {
    uint32_t i = (value * 2654435761u) & (size - 1);
    while (slots[i] && slots[i] != value)
        i = (i + 1) & (size - 1);
    return &slots[i];
}

static int grow(bdf_encoding_set *set) {
    uint32_t size = set->large_size ? set->large_size * 2 : 64;
    uint32_t *slots = (uint32_t *)calloc(size, sizeof *slots);
    if (!slots)
        return 0;
    for (uint32_t i = 0; i < set->large_size; i++) {
        if (set->large[i])
            *find_slot(slots, size, set->large[i]) = set->large[i];
    }
    free(set->large);
    set->large = slots;
    set->large_size = size;
    return 1;
}

int bdf_encoding_set_add(bdf_encoding_set *set, int32_t encoding) {
    uint32_t e = (uint32_t)encoding;
    if (e < 65536) {
        uint32_t mask = 1u << (e % 32);
        if (set->bits[e / 32] & mask)
            return 0;
        set->bits[e / 32] |= mask;
        return 1;
    }
    /* Kept at most half full. */
    if ((set->large_used + 1) * 2 > set->large_size && !grow(set))
        return -1;
    uint32_t *slot = find_slot(set->large, set->large_size, e);
    if (*slot)
        return 0;
    *slot = e;
    set->large_used++;
    return 1;
}

void bdf_encoding_set_free(bdf_encoding_set *set) {
    free(set->large);
    set->large = nullptr;
    set->large_size = set->large_used = 0;
}

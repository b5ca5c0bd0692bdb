#include "hash.h"

#include <stdlib.h>
#include <string.h>

enum { INITIAL_BUCKETS = 241 };

uint32_t bdf_hash_function(const char *key) {
    uint32_t h = 0;
    for (const char *p = key; *p; p++)
        h = h * 31u + (uint32_t)(int32_t)(signed char)*p;
    return h;
}

int bdf_hash_init(bdf_hash *table) {
    table->used = 0;
    table->buckets = (bdf_hash_entry **)calloc(INITIAL_BUCKETS, sizeof(bdf_hash_entry *));
    table->size = table->buckets ? INITIAL_BUCKETS : 0;
    table->limit = (int32_t)(table->size / 3);
    return table->buckets != nullptr;
}

static bdf_hash_entry **find_bucket(const char *key, bdf_hash_entry **buckets, uint32_t size) {
    bdf_hash_entry **bucket = buckets + bdf_hash_function(key) % size;
    while (*bucket) {
        const char *stored = (*bucket)->key;
        if (stored[0] == key[0] && strcmp(stored, key) == 0)
            return bucket;
        bucket = bucket == buckets ? buckets + size - 1 : bucket - 1;
    }
    return bucket;
}

bdf_hash_entry **bdf_hash_lookup(const char *key, const bdf_hash *table) {
    if (!table->buckets || table->size == 0)
        return nullptr;
    return find_bucket(key, table->buckets, table->size);
}

static int grow(bdf_hash *table) {
    uint32_t size = table->size * 2;
    bdf_hash_entry **buckets = (bdf_hash_entry **)calloc(size, sizeof(bdf_hash_entry *));
    if (!buckets)
        return 0;
    for (uint32_t i = 0; i < table->size; i++) {
        if (table->buckets[i])
            *find_bucket(table->buckets[i]->key, buckets, size) = table->buckets[i];
    }
    free(table->buckets);
    table->buckets = buckets;
    table->size = size;
    table->limit = (int32_t)(size / 3);
    return 1;
}

int bdf_hash_insert(const char *key, int32_t index, bdf_hash *table) {
    bdf_hash_entry **bucket = bdf_hash_lookup(key, table);
    if (!bucket)
        return 0;
    if (*bucket) {
        (*bucket)->index = index;
        return 1;
    }
    bdf_hash_entry *entry = (bdf_hash_entry *)malloc(sizeof *entry);
    if (!entry)
        return 0;
    entry->key = key;
    entry->index = index;
    *bucket = entry;
    /* A table that cannot double goes on above a third full, but always keeps an
     * empty bucket so that every probe ends; the entry just placed ends its chain,
     * so taking it back disturbs no other key. */
    if (table->used >= table->limit && !grow(table) && (uint32_t)table->used + 2 >= table->size) {
        *bucket = nullptr;
        free(entry);
        return 0;
    }
    table->used++;
    return 1;
}

void bdf_hash_free(bdf_hash *table) {
    if (!table->buckets)
        return;
    for (uint32_t i = 0; i < table->size; i++)
        free(table->buckets[i]);
    free(table->buckets);
    table->buckets = nullptr;
    table->size = 0;
    table->used = 0;
    table->limit = 0;
}

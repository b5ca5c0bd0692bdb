#ifndef GLYPHWERK_BDF_HASH_H
#define GLYPHWERK_BDF_HASH_H

/* The string table behind the property registry and each font's prop_index:
 * open addressing, downward linear probing, no deletion, doubled when a third
 * full. Keys are borrowed; they must outlive the table. */

#include "bdf.h"

/* h = h * 31 + c over the key's bytes, each taken as a signed char. */
uint32_t bdf_hash_function(const char *key);

/* Makes the table empty with 241 buckets and a limit of 80. Returns 0 when the
 * bucket array cannot be allocated (the table is then left with no buckets). */
int bdf_hash_init(bdf_hash *table);

/* The bucket holding `key`, or the empty bucket where it would go. Null when the
 * table has no buckets. */
bdf_hash_entry **bdf_hash_lookup(const char *key, const bdf_hash *table);

/* Stores `index` under `key` (a present key only gets the new index). Returns 0
 * when memory runs out; the table is then unchanged. */
int bdf_hash_insert(const char *key, int32_t index, bdf_hash *table);

/* Frees every entry and the bucket array, but neither the keys nor the record. */
void bdf_hash_free(bdf_hash *table);

#endif

/* The data block between the script and the payload: the side files (pictures, licence and
 * information texts) that the installer unpacks into its private temporary folder. */
#ifndef BVQ_STUB_DATA_BLOCK_H
#define BVQ_STUB_DATA_BLOCK_H

#include "setup_file.h"

/* Where side file `name` ("$inst\" + number + ".tmp") goes in folder: "<number>.tmp";
 * NULL for any other name, and for names that would leave the folder. */
wchar_t *side_file_target(const wchar_t *folder, const char *name);

/* Extracts the side files of the data block into folder and counts them. NULL on success,
 * else the reason. data_block_extract takes either storage form (data_block_cabinet.c, on
 * Windows); data_block_extract_stored the stored records (name, 0, size in decimal, 0, bytes). */
wchar_t *data_block_extract(SetupFile *s, const wchar_t *folder, int *count);
wchar_t *data_block_extract_stored(SetupFile *s, const wchar_t *folder, int *count);

#endif

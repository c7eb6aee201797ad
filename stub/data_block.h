/* The data block between the script and the payload: the side files (pictures, licence and
 * information texts) that the installer unpacks into its private temporary folder. */
#ifndef BVQ_STUB_DATA_BLOCK_H
#define BVQ_STUB_DATA_BLOCK_H

#include "setup_file.h"

/* Extracts the side files of the data block into folder as "<number>.tmp" (the part of the
 * name after "$inst\") and counts them. NULL on success, else the reason. */
wchar_t *data_block_extract(SetupFile *s, const wchar_t *folder, int *count);

#endif

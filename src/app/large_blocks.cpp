#include "app/large_blocks.h"

#include <malloc.h>

void giveLargeBlocksBack()
{
    // A threshold set here is no longer raised by the allocator itself.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
}

#pragma once

// Memory blocks of 4 MB and more are taken from the system for themselves
// and given back when freed. The box's text passes through copies of tens of
// megabytes in a long recording; by default such blocks are kept in the
// heap once a few have been freed, and the program stays that much larger.
void giveLargeBlocksBack();

#include "core/fileio/HugePages.h"

// Windows gives large pages only to processes holding the "Lock pages in memory" privilege, which
// a user's program does not have, and only at allocation: there is nothing to ask for afterwards.
void PreferHugePages(const void*, size_t) {}

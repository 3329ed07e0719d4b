#pragma once

#include <cstddef>

// Asks the system to back the whole 2 MiB pages within [data, data + size) with huge pages when
// they are first touched, where it offers them on request. For a buffer of hundreds of
// megabytes that is written once front to back: each small page would otherwise cost a fault of
// its own, about a third of a million-entry import. A hint only: nothing changes where the
// system declines it.
void PreferHugePages(const void* data, size_t size);

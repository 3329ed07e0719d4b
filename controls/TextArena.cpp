#include "controls/TextArena.h"

#include <algorithm>
#include <cstring>

std::string_view TextArena::Store(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    if (text.size() > m_freeBytes) {
        // Blocks double up to a limit, so small lists stay small and large ones allocate rarely;
        // a text longer than the next block gets a block of its own size.
        const size_t bytes = std::max(m_nextBlockBytes, text.size());
        m_blocks.push_back(std::make_unique_for_overwrite<char[]>(bytes));
        m_free = m_blocks.back().get();
        m_freeBytes = bytes;
        m_nextBlockBytes = std::min(m_nextBlockBytes * 2, kLargestBlockBytes);
    }
    char* stored = m_free;
    std::memcpy(stored, text.data(), text.size());
    m_free += text.size();
    m_freeBytes -= text.size();
    return {stored, text.size()};
}

void TextArena::Clear() {
    m_blocks.clear();
    m_blocks.shrink_to_fit();
    m_free = nullptr;
    m_freeBytes = 0;
    m_nextBlockBytes = kFirstBlockBytes;
}

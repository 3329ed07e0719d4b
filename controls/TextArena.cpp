#include "controls/TextArena.h"

#include <algorithm>
#include <cstring>

std::string_view TextArena::Store(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    if (m_blocks.empty() || m_blocks.back().size - m_blocks.back().used < text.size()) {
        // Blocks double up to a limit, so small lists stay small and large ones allocate rarely;
        // a text longer than the next block gets a block of its own size.
        const size_t next = m_blocks.empty()
                                ? kFirstBlockBytes
                                : std::min(2 * m_blocks.back().size, kLargestBlockBytes);
        const size_t bytes = std::max(next, text.size());
        m_blocks.push_back(Block{std::make_unique_for_overwrite<char[]>(bytes), bytes, 0});
    }
    Block& block = m_blocks.back();
    char* stored = block.bytes.get() + block.used;
    std::memcpy(stored, text.data(), text.size());
    block.used += text.size();
    return {stored, text.size()};
}

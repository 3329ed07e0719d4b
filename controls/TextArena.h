#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

// Owns the text of many small strings: each Store copies the bytes into the current block and
// returns a view that stays valid until Clear. Filling a list of a million cells then costs a few
// dozen allocations, and clearing it one free per block.
class TextArena {
public:
    std::string_view Store(std::string_view text);
    // Releases every block; all views handed out become invalid.
    void Clear();
    size_t BlockCount() const { return m_blocks.size(); }

private:
    static constexpr size_t kFirstBlockBytes = 4096;
    static constexpr size_t kLargestBlockBytes = size_t{1} << 20;

    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_free = nullptr;  // the unused end of the last block
    size_t m_freeBytes = 0;
    size_t m_nextBlockBytes = kFirstBlockBytes;
};

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
    void Clear() { m_blocks.clear(); }
    size_t BlockCount() const { return m_blocks.size(); }

private:
    static constexpr size_t kFirstBlockBytes = 4096;
    static constexpr size_t kLargestBlockBytes = size_t{1} << 20;

    struct Block {
        std::unique_ptr<char[]> bytes;
        size_t size = 0;
        size_t used = 0;
    };
    // The blocks are the whole state, so a moved-from arena is simply empty.
    std::vector<Block> m_blocks;
};

#include "controls/TextArena.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(TextArena, ViewsStayIntactWhileBlocksAreAdded) {
    TextArena arena;
    std::vector<std::string> texts;
    std::vector<std::string_view> views;
    for (int i = 0; i < 20000; ++i) {
        // Lengths from 1 to 300 bytes, and now and then one longer than any block.
        texts.push_back(
            std::string(static_cast<size_t>(i % 300 + 1), static_cast<char>('a' + i % 26)));
        if (i % 5000 == 4999) {
            texts.back().assign((size_t{1} << 20) + 3, 'L');
        }
        views.push_back(arena.Store(texts.back()));
    }
    EXPECT_GT(arena.BlockCount(), 1u);
    for (size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(views[i], texts[i]) << "text " << i;
    }
}

TEST(TextArena, EmptyTextsTakeNoBlockAndClearReleasesEveryBlock) {
    TextArena arena;
    EXPECT_TRUE(arena.Store("").empty());
    EXPECT_EQ(arena.BlockCount(), 0u);
    for (int i = 0; i < 1000; ++i) {
        arena.Store(std::string(100, 'x'));
    }
    EXPECT_GT(arena.BlockCount(), 1u);
    arena.Clear();
    EXPECT_EQ(arena.BlockCount(), 0u);
    EXPECT_EQ(arena.Store("again"), "again");
    EXPECT_EQ(arena.BlockCount(), 1u);
}

TEST(TextArena, AMovedFromArenaStoresIntoBlocksOfItsOwn) {
    // A model returned by value moves its arena; the source must not keep writing into blocks
    // that now belong to the destination.
    TextArena arena;
    const std::string_view kept = arena.Store("kept");
    TextArena moved = std::move(arena);
    const std::string_view fresh = arena.Store("fresh");
    const std::string_view more = moved.Store("more");
    EXPECT_EQ(kept, "kept");
    EXPECT_EQ(fresh, "fresh");
    EXPECT_EQ(more, "more");
    EXPECT_EQ(arena.BlockCount(), 1u);
    EXPECT_EQ(moved.BlockCount(), 1u);
}

}  // namespace

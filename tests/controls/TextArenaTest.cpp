#include "controls/TextArena.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(TextArena, LongTextsGetABlockOfTheirOwnAndClearReleasesEveryBlock) {
    TextArena arena;
    EXPECT_TRUE(arena.Store("").empty());
    EXPECT_EQ(arena.BlockCount(), 0u);
    const std::string longText(10239, 'L');  // larger than the first block
    const std::string_view stored = arena.Store(longText);
    const std::string_view after = arena.Store("after");
    EXPECT_EQ(stored, longText);
    EXPECT_EQ(after, "after");
    EXPECT_EQ(arena.BlockCount(), 2u);
    arena.Clear();
    EXPECT_EQ(arena.BlockCount(), 0u);
    EXPECT_EQ(arena.Store("again"), "again");
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

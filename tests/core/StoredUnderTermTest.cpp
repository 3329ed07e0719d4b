// The block-wise test of whether a record is stored under its own term answers as the byte-wise
// one, for keys of every length around the block sizes and records at the very end of the
// readable memory (copied into exactly sized buffers, so that the sanitizer build catches a
// read beyond them).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>

#include "core/StoredUnderTerm.h"

namespace {

TEST(StoredUnderTerm, AnswersAsTheBytewiseTest) {
    std::mt19937 rng(7);
    auto pick = [&rng](size_t n) { return static_cast<size_t>(rng() % n); };
    const char alphabet[] = {'a', 'b', CTermRecord::kSeparator, '\0', '\xB0'};
    auto text = [&](size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i) {
            s.push_back(alphabet[pick(40) == 0 ? pick(std::size(alphabet)) : pick(2)]);
        }
        return s;
    };
    int stored = 0;
    for (int i = 0; i < 100000; ++i) {
        const std::string key = text(pick(70));
        std::string value;
        switch (pick(4)) {
            case 0:  // the term alone
                value = key;
                break;
            case 1:  // the term and more fields
                value = key + CTermRecord::kSeparator + text(pick(20));
                break;
            case 2: {  // the term with one byte changed, then whatever follows
                value = key + text(pick(3));
                if (!value.empty()) {
                    value[pick(value.size())] = alphabet[pick(std::size(alphabet))];
                }
                break;
            }
            default:
                value = text(pick(70));
        }
        const std::string record = key + " = " + value + text(pick(3) == 0 ? pick(60) : 0);
        const auto buffer = std::make_unique<char[]>(record.size());
        std::copy(record.begin(), record.end(), buffer.get());
        const std::string_view readable(buffer.get(), record.size());
        const std::string_view k = readable.substr(0, key.size());
        const std::string_view v = readable.substr(key.size() + 3, value.size());
        const bool expected = detail::StoredUnderTermBytewise(k, v);
        ASSERT_EQ(StoredUnderTerm(k, v, readable), expected) << "case " << i;
        stored += expected ? 1 : 0;
    }
    EXPECT_GT(stored, 30000);  // both answers are common
    EXPECT_LT(stored, 70000);
}

}  // namespace

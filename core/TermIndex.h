#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

// An open-addressing hash index from a key to a slot number. The keys themselves live with the
// slots: every operation gets `keyOf(slot)` to compare against, so the index holds only a slot
// number and a hash per bucket and loads 100,000 terms without an allocation per term.
class TermIndex {
public:
    static constexpr uint32_t kNone = UINT32_MAX;

    void Clear() {
        m_buckets.clear();
        m_size = 0;
    }
    size_t Size() const { return m_size; }

    void Reserve(size_t count) {
        size_t capacity = 16;
        while (capacity < count + count / 2 + 1) {
            capacity *= 2;
        }
        if (capacity > m_buckets.size()) {
            Rehash(capacity);
        }
    }

    // The slot stored under `key`, or kNone.
    template <typename KeyOf>
    uint32_t Find(std::string_view key, KeyOf&& keyOf) const {
        if (m_buckets.empty()) {
            return kNone;
        }
        const uint32_t hash = Hash(key);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            const Bucket& b = m_buckets[i];
            if (b.slot == kNone) {
                return kNone;
            }
            if (b.hash == hash && keyOf(b.slot) == key) {
                return b.slot;
            }
        }
    }

    // The hash of `key` as the index uses it. A bulk load fetches a key's bucket with Prefetch,
    // does other work while memory answers, and then inserts with the hash.
    static uint32_t HashOf(std::string_view key) { return Hash(key); }
    void Prefetch(uint32_t hash) const {
#if defined(__GNUC__)
        if (!m_buckets.empty()) {
            __builtin_prefetch(&m_buckets[hash & Mask()], 1);
        }
#else
        (void)hash;
#endif
    }

    // Stores `slot` under `key` unless the key is present; returns the slot under the key and
    // whether it was inserted.
    template <typename KeyOf>
    std::pair<uint32_t, bool> Insert(std::string_view key, uint32_t slot, KeyOf&& keyOf) {
        return Insert(key, Hash(key), slot, keyOf);
    }
    // The same with the key's HashOf.
    template <typename KeyOf>
    std::pair<uint32_t, bool> Insert(std::string_view key, uint32_t hash, uint32_t slot,
                                     KeyOf&& keyOf) {
        if ((m_size + 1) * 3 > m_buckets.size() * 2) {
            Rehash(m_buckets.empty() ? 16 : m_buckets.size() * 2);
        }
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            Bucket& b = m_buckets[i];
            if (b.slot == kNone) {
                b = Bucket{slot, hash};
                ++m_size;
                return {slot, true};
            }
            if (b.hash == hash && keyOf(b.slot) == key) {
                return {b.slot, false};
            }
        }
    }

    // Points `key` at another slot (after the values were moved).
    template <typename KeyOf>
    void Reassign(std::string_view key, uint32_t slot, KeyOf&& keyOf) {
        if (Bucket* b = Locate(key, keyOf)) {
            b->slot = slot;
        }
    }

    // Removes `key`; entries behind it shift back so no probe chain is broken.
    template <typename KeyOf>
    void Erase(std::string_view key, KeyOf&& keyOf) {
        Bucket* found = Locate(key, keyOf);
        if (found == nullptr) {
            return;
        }
        size_t hole = static_cast<size_t>(found - m_buckets.data());
        for (size_t i = (hole + 1) & Mask();; i = (i + 1) & Mask()) {
            Bucket& b = m_buckets[i];
            if (b.slot == kNone) {
                break;
            }
            const size_t home = b.hash & Mask();
            // Move b into the hole when the hole lies on its probe path from home to i.
            const bool onPath = hole <= i ? (home <= hole || home > i) : (home <= hole && home > i);
            if (onPath) {
                m_buckets[hole] = b;
                hole = i;
            }
        }
        m_buckets[hole] = Bucket{};
        --m_size;
    }

private:
    struct Bucket {
        uint32_t slot = kNone;
        uint32_t hash = 0;
    };

    static uint32_t Hash(std::string_view key) {
        const size_t h = std::hash<std::string_view>{}(key);
        return static_cast<uint32_t>(h ^ (h >> 32));
    }
    size_t Mask() const {
        return m_buckets.size() - 1;
    }

    template <typename KeyOf>
    Bucket* Locate(std::string_view key, KeyOf& keyOf) {
        if (m_buckets.empty()) {
            return nullptr;
        }
        const uint32_t hash = Hash(key);
        for (size_t i = hash & Mask();; i = (i + 1) & Mask()) {
            Bucket& b = m_buckets[i];
            if (b.slot == kNone) {
                return nullptr;
            }
            if (b.hash == hash && keyOf(b.slot) == key) {
                return &b;
            }
        }
    }

    void Rehash(size_t capacity) {
        std::vector<Bucket> old(capacity);
        old.swap(m_buckets);
        for (const Bucket& b : old) {
            if (b.slot == kNone) {
                continue;
            }
            size_t i = b.hash & Mask();
            while (m_buckets[i].slot != kNone) {
                i = (i + 1) & Mask();
            }
            m_buckets[i] = b;
        }
    }

    std::vector<Bucket> m_buckets;
    size_t m_size = 0;
};

// Stores `slot` under `key` (whose TermIndex::HashOf is `hash`), replacing the slot already there.
template <typename Value, typename KeyOf>
void InsertOrReplace(std::vector<Value>& values, TermIndex& index, std::string_view key,
                     uint32_t hash, const Value& slot, KeyOf keyOf) {
    const auto [at, inserted] =
        index.Insert(key, hash, static_cast<uint32_t>(values.size()), keyOf);
    if (inserted) {
        values.push_back(slot);
    } else {
        values[at] = slot;
    }
}

template <typename Value, typename KeyOf>
void InsertOrReplace(std::vector<Value>& values, TermIndex& index, std::string_view key,
                     const Value& slot, KeyOf keyOf) {
    InsertOrReplace(values, index, key, TermIndex::HashOf(key), slot, keyOf);
}

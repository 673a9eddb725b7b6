// Shared by the skin tests that pack a skin: the packed bytes must read back through the
// container reader as exactly the given files, by name, count and content.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "SkinContainer.h"

namespace skintest {

// Fails the calling test (and returns at the first fatal failure) when they differ.
inline void ExpectPackedSkinHolds(const std::vector<uint8_t>& skin, const std::vector<SkinFileEntry>& files) {
    TSkinReader reader;
    ASSERT_TRUE(reader.LoadFromStream(skin)) << reader.LastError();
    ASSERT_EQ(reader.Names().size(), files.size());
    for (const SkinFileEntry& f : files) {
        std::vector<uint8_t> data;
        ASSERT_TRUE(reader.ExtractEntry(f.name, data)) << f.name;
        EXPECT_EQ(data, f.data) << f.name;
    }
}

}  // namespace skintest

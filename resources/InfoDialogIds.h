#pragma once

// Control ids of the information window (dialog 106).
namespace info_ids {

constexpr int kList = 1072;

}  // namespace info_ids

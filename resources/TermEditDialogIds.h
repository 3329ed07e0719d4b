#pragma once

#include "resources/ResourceIds.h"

// Control ids of the term popup editor (dialog 104).
namespace termedit_ids {

constexpr int kClose = res::kIdCancel;
constexpr int kDeleteButton = 1012;
constexpr int kUpdateButton = 1030;
constexpr int kTermEdit = 1000;
constexpr int kMeaningEdit = 1010;
constexpr int kExplainEdit = 1006;

}  // namespace termedit_ids

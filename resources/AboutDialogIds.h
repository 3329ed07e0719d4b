#pragma once

#include "resources/ResourceIds.h"

// Control ids of the about box (dialog 100).
namespace about_ids {

constexpr int kVersion = 1063;
constexpr int kOk = res::kIdOk;

}  // namespace about_ids

#pragma once

#include <cstdint>
#include <string_view>

// A 64-bit checksum of `bytes` that notices a damaged or cut file: a changed, missing or extra
// byte changes it. Fast (four independent lanes of multiply-rotate rounds), not for security.
uint64_t Checksum64(std::string_view bytes);

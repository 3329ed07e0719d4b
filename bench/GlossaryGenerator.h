#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/TermRecord.h"

// Synthetic glossaries for benchmarks and start-up measurements: realistic term lengths
// (one to four words), mixed case, about 2 % Chinese-initial and 3 % digit-initial terms,
// GBK meanings and explanations of textbook length. Deterministic for a given seed.
std::vector<CTermRecord> GenerateGlossary(size_t count, unsigned seed = 42);

// The keyword that matches about 1 % of the generated terms.
const char* OnePercentKeyword();

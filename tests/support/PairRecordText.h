#pragma once

#include <cstdio>
#include <string>

#include "util/GbkText.h"

// One record of a data file as it is stored: NNNN#key = NNNN#value CR LF.
inline std::string PairRecord(const std::string& key, const std::string& value) {
    char lengths[32];
    std::snprintf(lengths, sizeof lengths, "%04zu#", key.size());
    std::string out = lengths + key + " = ";
    std::snprintf(lengths, sizeof lengths, "%04zu#", value.size());
    return out + lengths + value + "\r\n";
}

// A glossary record of `term` with a Chinese meaning and no explanation.
inline std::string GlossaryRecord(const std::string& term) {
    return PairRecord(term, term + "\x07" + GBK("含义") + "\x07\x07");
}

#pragma once

// The names of the data files, in one place for the stores and for DataLocation, which finds
// their folders: "Termix" followed by the suffix of the store kept in the file.
namespace datafile {

constexpr const char* kSettingsSuffix = ".CConfGlobal.cfg";
constexpr const char* kGlossarySuffix = ".CGlossary.termix";
constexpr const char* kHistorySuffix = ".CHistroy.termix";

}  // namespace datafile

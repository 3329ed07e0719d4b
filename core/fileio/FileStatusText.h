#pragma once

#include <string>

#include "core/fileio/FileStatus.h"

// Why a file could not be read or written, in words for the user (GBK); empty when it could.
std::string ReasonText(const fileio::Status& status);

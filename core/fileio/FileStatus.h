#pragma once

// How a read or write of a data file ended.
namespace fileio {

enum class Outcome {
    kOk,
    kMissing,     // the file does not exist (reading only)
    kNoAccess,    // permission denied
    kNotRegular,  // a directory, FIFO, device or socket
    kTooLarge,    // above kMaxFileSize
    kReadOnly,    // the target is marked read-only or the user may not write it (writing only)
    kNoSpace,     // the disk or the user's quota is full
    kNoFolder,    // the folder of the file does not exist (writing only)
    kBusy,        // another program kept its turn to save the file all the while (writing only)
    kIoError,     // any other failure; `systemError` tells which
};

struct Status {
    Outcome outcome = Outcome::kOk;
    int systemError = 0;  // errno or the Windows error code, 0 when none applies

    bool ok() const { return outcome == Outcome::kOk; }
};

}  // namespace fileio

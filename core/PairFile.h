#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/RecordReader.h"
#include "core/fileio/FileIo.h"
#include "core/fileio/FileView.h"

namespace Qm_conf_solitude {

// Raised when a pair file (or a data folder) cannot be read or written. m_message is what the
// user is shown (GBK): the read or write message, then the reason on a line of its own when one
// is known. The other fields hold the same facts for code that decides by them.
struct Qm_conf_solitude_Exception {
    enum class Kind { kRead, kWrite };
    std::string m_message;
    Kind m_kind;
    std::filesystem::path m_path;  // the file or folder that failed
    std::string m_reason;          // the system's reason (GBK); empty when none is known
};

// One file of length-prefixed key/value records:
//   NNNN#key = NNNN#value CR LF
// The whole file is read at construction and written back by Close().
class Qm_conf_solitude_File {
public:
    static constexpr size_t kMaxFieldLength = 9999;

    // Reads the file at `path`. Only a missing file gives an empty map; any other failure to
    // read it raises the read exception. When parsing stops before the end of the file, the
    // file's bytes are copied aside (see DamagedFile.h) before anything may replace it.
    Qm_conf_solitude_File(std::filesystem::path path, std::string fieldMarker,
                          std::string terminator);
    virtual ~Qm_conf_solitude_File() = default;

    Qm_conf_solitude_File(const Qm_conf_solitude_File&) = delete;
    Qm_conf_solitude_File& operator=(const Qm_conf_solitude_File&) = delete;

    // The value under `key`; an absent key is first created with an empty value.
    std::string Get(const std::string& key);
    void Set(const std::string& key, const std::string& value);
    void RemoveAll();
    size_t Count() const { return m_map.size(); }

    void Rewind();
    bool Next(std::string& key, std::string& value);

    // Writes the whole map, sorted by key in byte order, through a temporary file that replaces
    // the old one, so the file on disk is always either the old or the new content. Raises the
    // write exception when the content does not reach the disk, when a key or value is longer
    // than kMaxFieldLength, or when the file read as damaged and no copy of it could be made.
    void Close();
    // Ends the object's use without writing.
    void Discard();
    // True when the file was read whole and already holds exactly what Close would write.
    bool HoldsWhatCloseWrites() const;

    // Statistics of the read: records parsed (duplicates included) and the byte offset where
    // parsing stopped before the end of the file, or -1 when the whole file parsed.
    size_t ParsedRecords() const { return m_parsedRecords; }
    long long StopOffset() const { return m_stopOffset; }

    // Reads the file as construction does, without building a map: false when it does not
    // exist; raises the read exception on any other failure. `content` ends before the first
    // NUL byte; `fileSize` is the size of the whole file.
    static bool ReadContent(const std::filesystem::path& path, std::string& content,
                            size_t& fileSize);
    // The same for a one-shot reader, without a copy: `file` holds the whole file, NUL bytes
    // included; its content, what stands before the first NUL, is the caller's to find.
    static bool ViewWholeFile(const std::filesystem::path& path, FileView& file,
                              FileView::Pages pages = FileView::Pages::kAtOnce);

    // The read and write exceptions for `path`, their message with `reason` on a line of its own
    // if not empty.
    static Qm_conf_solitude_Exception ReadError(const std::filesystem::path& path,
                                                const std::string& reason = {});
    static Qm_conf_solitude_Exception WriteError(const std::filesystem::path& path,
                                                 const std::string& reason = {});

    // Parses the records of `text` in order, calling visit(key, value) with views into `text`
    // for each well-formed record. Returns the offset where parsing stopped (text.size() when
    // every byte belonged to a record).
    template <typename Visit>
    static size_t ParseRecords(std::string_view text, std::string_view fieldMarker,
                               std::string_view terminator, Visit&& visit);

    // Builds the text of the records in `map`, sorted by key in byte order.
    static std::string Serialize(const std::unordered_map<std::string, std::string>& map,
                                 const std::string& fieldMarker, const std::string& terminator);

    // Appends one record to `out`; false, appending nothing, when the key or the value is longer
    // than kMaxFieldLength.
    static bool AppendRecord(std::string& out, std::string_view key, std::string_view value,
                             std::string_view fieldMarker, std::string_view terminator);

    // What construction and Close do together, for an owner that makes the whole new content
    // itself (records in the caller's order): reads the current file (a read error raises the
    // read exception; a damaged file is copied aside first) and replaces it with what `produce`
    // hands the writer piece by piece, raising the write exception as Close does. A producer
    // that gives up (returns false without a failed write) leaves the file as it was and raises
    // the write exception without a reason.
    static void ReplaceContent(const std::filesystem::path& path, std::string_view fieldMarker,
                               std::string_view terminator,
                               const std::function<bool(const fileio::ChunkWriter&)>& produce);

private:
    void Read();
    static std::string DamagedWithoutCopyReason();

    std::string m_fieldMarker;
    std::string m_terminator;
    std::filesystem::path m_path;
    std::unordered_map<std::string, std::string> m_map;
    std::unordered_map<std::string, std::string>::const_iterator m_cursor;
    std::optional<std::string> m_wholeText;  // the file as read, when it parsed to its end
    size_t m_parsedRecords = 0;
    long long m_stopOffset = -1;
    bool m_damagedWithoutCopy = false;
    bool m_ended = false;
};

template <typename Visit>
size_t Qm_conf_solitude_File::ParseRecords(std::string_view text, std::string_view fieldMarker,
                                           std::string_view terminator, Visit&& visit) {
    // Every file of the program has a one-byte marker and a two-byte terminator.
    if (fieldMarker.size() == 1 && terminator.size() == 2) {
        return ReadAllRecords(RecordReader<1, 2>(text, 0, fieldMarker, terminator), visit);
    }
    return ReadAllRecords(RecordReader<0, 0>(text, 0, fieldMarker, terminator), visit);
}

}  // namespace Qm_conf_solitude

using Qm_conf_solitude::Qm_conf_solitude_Exception;
using Qm_conf_solitude::Qm_conf_solitude_File;

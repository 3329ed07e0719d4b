#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>

namespace Qm_conf_solitude {

// Raised when a pair file cannot be read or written; carries the user-facing message (GBK).
struct Qm_conf_solitude_Exception {
    std::string m_message;
};

// One file of length-prefixed key/value records:
//   NNNN#key = NNNN#value CR LF
// The whole file is read at construction and written back by Close().
class Qm_conf_solitude_File {
public:
    static constexpr size_t kMaxFieldLength = 9999;

    // Reads the file at `path` (GBK). A missing or unopenable file gives an empty map; an I/O
    // error raises the read exception.
    Qm_conf_solitude_File(std::string path, std::string fieldMarker, std::string terminator);
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

    // Writes the whole map through a temporary file that replaces the old one, so the file on
    // disk is always either the old or the new content. Raises the write exception when the
    // content does not reach the disk, or when a key or value is longer than kMaxFieldLength.
    void Close();
    // Ends the object's use without writing.
    void Discard();

    // Statistics of the read: records parsed (duplicates included) and the byte offset where
    // parsing stopped before the end of the file, or -1 when the whole file parsed.
    size_t ParsedRecords() const { return m_parsedRecords; }
    long long StopOffset() const { return m_stopOffset; }

    // Builds the text of the records in `map`, in its iteration order.
    static std::string Serialize(const std::unordered_map<std::string, std::string>& map,
                                 const std::string& fieldMarker, const std::string& terminator);

private:
    void Read();
    void Parse(const std::string& text, size_t fileSize);
    [[noreturn]] void ThrowRead() const;
    [[noreturn]] void ThrowWrite() const;

    std::string m_fieldMarker;
    std::string m_terminator;
    std::string m_path;
    std::unordered_map<std::string, std::string> m_map;
    std::unordered_map<std::string, std::string>::const_iterator m_cursor;
    size_t m_parsedRecords = 0;
    long long m_stopOffset = -1;
    bool m_ended = false;
};

}  // namespace Qm_conf_solitude

using Qm_conf_solitude::Qm_conf_solitude_Exception;
using Qm_conf_solitude::Qm_conf_solitude_File;

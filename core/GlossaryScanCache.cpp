#include "core/GlossaryScanCache.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "core/fileio/FileIo.h"
#include "util/Checksum.h"

namespace {

// The file: a header of 64-bit numbers, the terms' record starts and term ends as 32-bit
// numbers (a glossary file stays below 4 GiB), then the terms' bytes; all in this machine's byte
// order, which the magic number checks.
constexpr uint64_t kMagic = 0x314E414353584D54ULL;  // "TMXSCAN1" read little-endian
enum Field {
    kMagicField,
    kDevice,
    kInode,
    kSize,
    kModified,
    kChanged,
    kCount,
    kTermBytes,
    kChecksum,
    kFields
};
constexpr size_t kHeaderBytes = kFields * sizeof(uint64_t);

uint64_t HeaderField(std::string_view bytes, Field field) {
    uint64_t value;
    std::memcpy(&value, bytes.data() + field * sizeof value, sizeof value);
    return value;
}

template <typename Number>
void Append(std::string& out, Number value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace

GlossaryScanCache::GlossaryScanCache(const std::filesystem::path& folder,
                                     const std::filesystem::path& glossary)
    : m_folder(folder) {
    // Named after the glossary's full path; the stamp inside tells a file that took its place.
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(glossary, ec);
    const auto& full = (ec ? glossary : absolute).native();
    const uint64_t key = Checksum64(
        std::string_view(reinterpret_cast<const char*>(full.data()), full.size() * sizeof full[0]));
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(key));
    std::string name = "glossary-";
    name.append(hex).append(".scan");
    m_path = folder / name;
}

uint32_t GlossaryScanCache::Number(std::string_view array, size_t i) {
    uint32_t value;
    std::memcpy(&value, array.data() + i * sizeof value, sizeof value);
    return value;
}

bool GlossaryScanCache::Load(const FileStamp& stamp) {
    m_count = 0;
    if (!m_file.Open(m_path).ok()) {
        return false;
    }
    const std::string_view bytes = m_file.Bytes();
    if (bytes.size() < kHeaderBytes || HeaderField(bytes, kMagicField) != kMagic ||
        HeaderField(bytes, kDevice) != stamp.device || HeaderField(bytes, kInode) != stamp.inode ||
        HeaderField(bytes, kSize) != stamp.size ||
        HeaderField(bytes, kModified) != static_cast<uint64_t>(stamp.modifiedNs) ||
        HeaderField(bytes, kChanged) != static_cast<uint64_t>(stamp.changedNs)) {
        return false;
    }
    const uint64_t count = HeaderField(bytes, kCount);
    const uint64_t termBytes = HeaderField(bytes, kTermBytes);
    const std::string_view body = bytes.substr(kHeaderBytes);
    if (count > body.size() / 8 || body.size() - count * 8 != termBytes ||
        Checksum64(body) != HeaderField(bytes, kChecksum)) {
        return false;
    }
    m_records = body.substr(0, count * 4);
    m_termEnds = body.substr(count * 4, count * 4);
    m_terms = body.substr(count * 8);
    // Offsets the checksum passed are still checked, so that no reading leaves the files.
    uint32_t start = 0;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t end = Number(m_termEnds, i);
        if (end < start || end > termBytes || Number(m_records, i) >= stamp.size) {
            return false;
        }
        start = end;
    }
    m_count = count;
    return true;
}

std::string_view GlossaryScanCache::TermAt(size_t i) const {
    const uint32_t start = i == 0 ? 0 : Number(m_termEnds, i - 1);
    return m_terms.substr(start, Number(m_termEnds, i) - start);
}

size_t GlossaryScanCache::Find(std::string_view term) const {
    size_t low = 0;
    size_t high = m_count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (TermAt(middle) < term) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low < m_count && TermAt(low) == term ? low : m_count;
}

void GlossaryScanCache::RemoveStaleTemporaries() const {
    // A save takes milliseconds: a temporary of this cache a minute old was left by a program
    // that ended between writing it and renaming it.
    const std::string prefix = m_path.filename().string() + ".";
    const auto stale = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(m_folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code timeError;
        if (name.size() > prefix.size() + 4 && name.compare(0, prefix.size(), prefix) == 0 &&
            name.compare(name.size() - 4, 4, ".new") == 0 &&
            it->last_write_time(timeError) < stale && !timeError) {
            std::filesystem::remove(it->path(), timeError);
        }
    }
}

bool GlossaryScanCache::CanSave() const {
    return fileio::CreatePrivateFolder(m_folder).ok() && fileio::UserCanWrite(m_folder);
}

bool GlossaryScanCache::Save(const FileStamp& stamp, const std::vector<Term>& terms) const {
    std::string body;
    size_t termBytes = 0;
    for (const Term& t : terms) {
        termBytes += t.term.size();
    }
    if (stamp.size > UINT32_MAX || termBytes > UINT32_MAX) {
        return false;
    }
    body.reserve(terms.size() * 8 + termBytes);
    for (const Term& t : terms) {
        Append(body, static_cast<uint32_t>(t.record));
    }
    uint32_t end = 0;
    for (const Term& t : terms) {
        end += static_cast<uint32_t>(t.term.size());
        Append(body, end);
    }
    for (const Term& t : terms) {
        body.append(t.term);
    }
    std::string header;
    for (const uint64_t value :
         {kMagic, stamp.device, stamp.inode, stamp.size, static_cast<uint64_t>(stamp.modifiedNs),
          static_cast<uint64_t>(stamp.changedNs), static_cast<uint64_t>(terms.size()),
          static_cast<uint64_t>(termBytes), Checksum64(body)}) {
        Append(header, value);
    }
    RemoveStaleTemporaries();
    // Written under a name of its own and renamed into place, so that a reader sees the old
    // cache or the new one, and two programs saving at once do not mix their bytes.
    std::filesystem::path temporary = m_path;
    temporary += '.';
    temporary += std::to_string(std::random_device{}());
    temporary += ".new";
    std::error_code ec;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(header.data(), static_cast<std::streamsize>(header.size()));
        out.write(body.data(), static_cast<std::streamsize>(body.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, ec);
            return false;
        }
    }
    // The terms are the user's own: readable by the user alone, as the folder is.
    std::filesystem::permissions(
        temporary, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write, ec);
    std::filesystem::rename(temporary, m_path, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

#include "core/Glossary.h"

#include <memory>

#include "core/PairFile.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

std::mutex g_csGlossary;

namespace {
const char kMarker[] = "#";
const char kTerminator[] = "\r\n";

bool IsAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::string RowText(const CTermRecord& record) {
    std::string row;
    row.reserve(record.m_cs_term.size() + record.m_cs_meaning.size() + 1);
    row.append(record.m_cs_term).push_back(IReportList::kRowSeparator);
    row.append(record.m_cs_meaning);
    return row;
}
}  // namespace

CGlossary::CGlossary(std::string path) : m_path(std::move(path)) {
    Load(m_path);
}

std::string CGlossary::DefaultPath() {
    return GetExeDir() + "Termix" + kFileSuffix;
}

void CGlossary::Add(const CTermRecord& record) {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_map.insert_or_assign(record.m_cs_term, Entry{record, gbk::ToLower(record.m_cs_term)});
}

void CGlossary::Delete(const std::string& term) {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_map.erase(term);
}

bool CGlossary::Exists(const std::string& term) const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    return m_map.count(term) != 0;
}

bool CGlossary::Get(const std::string& term, CTermRecord& record) const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    const auto it = m_map.find(term);
    if (it == m_map.end()) {
        return false;
    }
    record = it->second.record;
    return true;
}

long CGlossary::GetCount() const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    return static_cast<long>(m_map.size());
}

void CGlossary::RemoveAll() {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_map.clear();
}

void CGlossary::Load(const std::string& path) {
    RemoveAll();
    Qm_conf_solitude_File file(path, kMarker, kTerminator);
    std::unordered_map<std::string, Entry> loaded;
    loaded.reserve(file.Count());
    std::string key;
    std::string value;
    file.Rewind();
    while (file.Next(key, value)) {
        // The record goes under the term of its own text; the file's key is not used.
        CTermRecord record;
        record.FromText(value, CTermRecord::kSeparator);
        std::string folded = gbk::ToLower(record.m_cs_term);
        std::string term = record.m_cs_term;
        loaded.insert_or_assign(std::move(term), Entry{std::move(record), std::move(folded)});
    }
    file.Discard();
    std::lock_guard<std::mutex> lock(g_csGlossary);
    m_map = std::move(loaded);
}

void CGlossary::Save() {
    Save(m_path);
}

void CGlossary::Save(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    Qm_conf_solitude_File file(path, kMarker, kTerminator);
    file.RemoveAll();
    for (const auto& [term, entry] : m_map) {
        file.Set(term, entry.record.ToText(CTermRecord::kSeparator));
    }
    file.Close();
}

template <typename Condition>
long CGlossary::Fill(IReportList& list, Condition matches) const {
    std::lock_guard<std::mutex> lock(g_csGlossary);
    list.DeleteAllRows();
    long count = 0;
    for (const auto& [term, entry] : m_map) {
        if (matches(entry)) {
            list.InsertRow(RowText(entry.record), IReportList::kRowSeparator);
            ++count;
        }
    }
    list.SetFixedColumnWidths();
    list.SortRows(0, true, 0, -1);
    return count;
}

long CGlossary::ListAll(IReportList& list) const {
    return Fill(list, [](const Entry&) { return true; });
}

long CGlossary::ListByFirstLetter(IReportList& list, char letter) const {
    const std::string wanted = gbk::ToUpper(std::string(1, letter));
    return Fill(list, [&wanted](const Entry& entry) {
        // Upper-casing one byte of a double-byte character never changes it, so a term that
        // begins with one cannot match a letter.
        const std::string& term = entry.record.m_cs_term;
        return !term.empty() && gbk::ToUpper(term.substr(0, 1)) == wanted;
    });
}

long CGlossary::ListNonLetter(IReportList& list) const {
    return Fill(list, [](const Entry& entry) {
        const std::string& term = entry.record.m_cs_term;
        return term.empty() || !IsAsciiLetter(static_cast<unsigned char>(term[0]));
    });
}

long CGlossary::ListByKeyword(IReportList& list, const std::string& keyword) const {
    const std::string folded = gbk::ToLower(keyword);
    return Fill(list, [&folded](const Entry& entry) {
        return gbk::Find(entry.foldedTerm, folded) != std::string::npos;
    });
}

void CGlossary::AddAndShow(const CTermRecord& record, IReportList& list) {
    Add(record);
    list.InsertRow(RowText(record), IReportList::kRowSeparator);
    if (list.GetRowCount() > 0) {
        list.EnsureVisible(list.GetRowCount() - 1, false);
    }
}

bool CGlossary::UpdateAndShow(const CTermRecord& record, IReportList& list, int row) {
    Update(record);
    return list.SetCellText(row, 1, record.m_cs_meaning);
}

bool CGlossary::DeleteAndShow(const CTermRecord& record, IReportList& list, int row) {
    Delete(record.m_cs_term);
    return list.DeleteRow(row);
}

namespace {
std::mutex g_glossaryInstanceMutex;
std::unique_ptr<CGlossary> g_glossary;
}  // namespace

CGlossary& GetGlossary() {
    std::lock_guard<std::mutex> lock(g_glossaryInstanceMutex);
    if (!g_glossary) {
        g_glossary = std::make_unique<CGlossary>(CGlossary::DefaultPath());
    }
    return *g_glossary;
}

void ReleaseGlossary() {
    std::lock_guard<std::mutex> lock(g_glossaryInstanceMutex);
    g_glossary.reset();
}

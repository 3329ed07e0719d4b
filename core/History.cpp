#include "core/History.h"

#include <memory>

#include "core/DataLocation.h"
#include "core/Glossary.h"
#include "core/PairFile.h"
#include "core/TermRecord.h"
#include "util/ExeDir.h"
#include "util/GbkText.h"

std::mutex g_csHistory;

std::filesystem::path CHistroy::DefaultPath() {
    return GetDataLocation().HistoryFile();
}

void CHistroy::Add(const std::string& text) {
    std::lock_guard<std::mutex> lock(g_csHistory);
    m_texts.insert(text);
}

void CHistroy::RemoveAll() {
    std::lock_guard<std::mutex> lock(g_csHistory);
    m_texts.clear();
}

size_t CHistroy::Count() const {
    std::lock_guard<std::mutex> lock(g_csHistory);
    return m_texts.size();
}

bool CHistroy::Contains(const std::string& text) const {
    std::lock_guard<std::mutex> lock(g_csHistory);
    return m_texts.count(text) != 0;
}

void CHistroy::Load(const std::filesystem::path& path) {
    RemoveAll();
    {
        std::lock_guard<std::mutex> lock(g_csHistory);
        m_unreadPath = path;  // until the file has been read
    }
    Qm_conf_solitude_File file(path, "#", "\r\n");
    {
        std::lock_guard<std::mutex> lock(g_csHistory);
        m_unreadPath.clear();
    }
    std::string key;
    std::string value;
    file.Rewind();
    while (file.Next(key, value)) {
        Add(value);
    }
    file.Discard();
}

bool CHistroy::LoadFailed() const {
    std::lock_guard<std::mutex> lock(g_csHistory);
    return !m_unreadPath.empty() && m_unreadPath == m_path;
}

void CHistroy::Save(const std::filesystem::path& path) {
    std::lock_guard<std::mutex> lock(g_csHistory);
    if (!m_unreadPath.empty() && m_unreadPath == path) {
        // What the file holds was never read: replacing it would lose it.
        throw Qm_conf_solitude_File::WriteError(
            path, GBK("这个文件在启动时没有读入, 为了不丢失其中的内容, 没有覆盖它。"));
    }
    Qm_conf_solitude_File file(path, "#", "\r\n");
    file.RemoveAll();
    for (const std::string& text : m_texts) {
        if (text.size() <= kMaxSavedLength) {
            file.Set(text, text);
        }
    }
    file.Close();
}

long CHistroy::FillList(IReportList& list) const {
    return FillList(list, GetGlossary());
}

long CHistroy::FillList(IReportList& list, const CGlossary& glossary) const {
    std::lock_guard<std::mutex> lock(g_csHistory);
    list.DeleteAllRows();
    long count = 0;
    static const std::string kNotATerm = "......";
    for (const std::string& text : m_texts) {
        CTermRecord record;
        const bool isTerm = glossary.Get(text, record);  // takes g_csGlossary second
        std::string row = text;
        row.push_back(IReportList::kRowSeparator);
        row.append(isTerm ? record.m_cs_meaning : kNotATerm);
        list.InsertRow(row, IReportList::kRowSeparator);
        ++count;
    }
    list.SetFixedColumnWidths();
    list.SortRows(0, true, 0, -1);
    return count;
}

CHistroy& GetSearchHistory() {
    static CHistroy history(CHistroy::DefaultPath());
    return history;
}

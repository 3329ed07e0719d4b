#include "core/OperationLog.h"

std::mutex g_csOperationLog;

void COperationLog::Add(const CTermRecord& record) {
    std::lock_guard<std::mutex> lock(g_csOperationLog);
    m_map.insert_or_assign(record.m_cs_term, record);
}

bool COperationLog::Exists(const std::string& term) const {
    std::lock_guard<std::mutex> lock(g_csOperationLog);
    return m_map.count(term) != 0;
}

bool COperationLog::Get(const std::string& term, CTermRecord& record) const {
    std::lock_guard<std::mutex> lock(g_csOperationLog);
    const auto it = m_map.find(term);
    if (it == m_map.end()) {
        return false;
    }
    record = it->second;
    return true;
}

size_t COperationLog::Count() const {
    std::lock_guard<std::mutex> lock(g_csOperationLog);
    return m_map.size();
}

void COperationLog::RemoveAll() {
    std::lock_guard<std::mutex> lock(g_csOperationLog);
    m_map.clear();
}

long COperationLog::FillList(IReportList& list) const {
    std::lock_guard<std::mutex> lock(g_csOperationLog);
    list.DeleteAllRows();
    long count = 0;
    for (const auto& [term, record] : m_map) {
        std::string row = term;
        row.push_back(IReportList::kRowSeparator);
        row.append(record.m_cs_meaning);
        list.InsertRow(row, IReportList::kRowSeparator);
        ++count;
    }
    list.SetFixedColumnWidths();
    list.SortRows(0, true, 0, -1);
    return count;
}

COperationLog& GetOperationLog() {
    static COperationLog log;
    return log;
}

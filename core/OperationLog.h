#pragma once

#include <mutex>
#include <string>
#include <unordered_map>

#include "core/ReportList.h"
#include "core/TermRecord.h"

extern std::mutex g_csOperationLog;

// The data configuration window's log of this run: one version of every term it added, changed
// or deleted. Never written to disk.
class COperationLog {
public:
    COperationLog() = default;
    virtual ~COperationLog() = default;
    COperationLog(const COperationLog&) = delete;
    COperationLog& operator=(const COperationLog&) = delete;

    void Add(const CTermRecord& record);
    bool Exists(const std::string& term) const;
    bool Get(const std::string& term, CTermRecord& record) const;
    size_t Count() const;
    void RemoveAll();
    // One row (term, 0x08, meaning) per logged record, sorted by term.
    long FillList(IReportList& list) const;

private:
    std::unordered_map<std::string, CTermRecord> m_map;
};

COperationLog& GetOperationLog();

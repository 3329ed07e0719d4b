#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "core/fileio/FileView.h"

// The bytes of a mapped file, copied into the program's own memory a moment later, on a thread
// of its own. A new process can then read a large file without first paying for fresh memory,
// the cost that dominates the start of a window on a large glossary, and the mapping still does
// not outlive the start: a file that another program cuts short in place would end a process
// that reads its mapping. The owner reads `content` from the mapping until `adopt` hands it the
// copy; it must stop reading the mapping there, as it is unmapped as soon as adopt returns.
class DeferredFileCopy {
public:
    // Receives the content as mapped and its copy; called on the copying thread. When it raises
    // std::bad_alloc, it must have changed nothing: the mapping then stays.
    using Adopt = std::function<void(std::string_view mapped, std::unique_ptr<std::string> copy)>;

    // `content` is a view into `file`'s bytes, copied after `delay` or at CopyNow.
    DeferredFileCopy(std::unique_ptr<FileView> file, std::string_view content,
                     std::chrono::milliseconds delay, Adopt adopt);
    // Drops a copy not yet begun, waits for one under way.
    ~DeferredFileCopy();
    DeferredFileCopy(const DeferredFileCopy&) = delete;
    DeferredFileCopy& operator=(const DeferredFileCopy&) = delete;

    // Makes the copy now unless it is made, and returns once it is adopted. When the copy fails
    // (no memory), the mapping stays and so do the owner's views into it.
    void CopyNow();

private:
    static constexpr size_t kPiece = size_t{8} << 20;

    void Run(std::chrono::milliseconds delay);
    // Cuts the wait short, with the copy made (`copy`) or dropped, and waits for the thread.
    void EndThread(bool copy);

    std::unique_ptr<FileView> m_file;
    std::string_view m_content;
    Adopt m_adopt;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_now = false;
    bool m_stop = false;
    std::mutex m_joinMutex;  // one CopyNow at a time joins the thread
    std::thread m_thread;
};

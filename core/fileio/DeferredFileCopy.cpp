#include "core/fileio/DeferredFileCopy.h"

#include <algorithm>
#include <new>
#include <system_error>

#include "core/fileio/FileIo.h"

DeferredFileCopy::DeferredFileCopy(std::unique_ptr<FileView> file, std::string_view content,
                                   std::chrono::milliseconds delay, Adopt adopt)
    : m_file(std::move(file)), m_content(content), m_adopt(std::move(adopt)) {
    try {
        m_thread = std::thread(&DeferredFileCopy::Run, this, delay);
    } catch (const std::system_error&) {
        Run(std::chrono::milliseconds(0));  // no thread: the copy is made at once
    }
}

DeferredFileCopy::~DeferredFileCopy() {
    EndThread(false);
}

void DeferredFileCopy::CopyNow() {
    EndThread(true);
}

void DeferredFileCopy::EndThread(bool copy) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        (copy ? m_now : m_stop) = true;
    }
    m_wake.notify_all();
    std::lock_guard<std::mutex> join(m_joinMutex);
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void DeferredFileCopy::Run(std::chrono::milliseconds delay) {
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait_for(lock, delay, [this] { return m_now || m_stop; });
        if (m_stop) {
            return;
        }
    }
    std::unique_ptr<std::string> copy;
    try {
        copy = std::make_unique<std::string>();
        copy->reserve(m_content.size());
        fileio::PrepareFreshBuffer(copy->data(), copy->capacity());
        // A piece at a time, each piece's mapped pages given up once copied: the file is then
        // never resident twice, which for a large glossary is the program's peak memory. The
        // owner may still read any of it meanwhile (from the file's cache).
        const size_t offset = static_cast<size_t>(m_content.data() - m_file->Bytes().data());
        for (size_t done = 0; done < m_content.size(); done += kPiece) {
            const size_t piece = std::min(kPiece, m_content.size() - done);
            copy->append(m_content.substr(done, piece));
            m_file->Release(offset + done, offset + done + piece);
        }
        m_adopt(m_content, std::move(copy));
    } catch (const std::bad_alloc&) {
        return;  // the owner still reads the mapping, which stays
    }
    m_file.reset();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include "file_io.h"
#include "frames_folder_ops.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace velvix::frames {

// Writes new files one after the other on a thread of its own. Creating a
// file can hold its caller for a millisecond or more (a file system without
// a journal steps over every inode freed in the last minutes); on this thread
// that overlaps the decoding instead of holding up ffmpeg's pipe. After the
// first failed write nothing more is written.
class FileQueue {
public:
    explicit FileQueue(FramesFolderOps& ops);
    // Forgets what is not written yet and waits for the file being written.
    ~FileQueue();
    FileQueue(const FileQueue&) = delete;
    FileQueue& operator=(const FileQueue&) = delete;

    // Queues `bytes` for `file`; false once a write has failed.
    bool push(std::filesystem::path file, Bytes bytes);
    // Waits until every queued file is written or one failed, and returns
    // that failure. What the folder operations throw arrives here.
    std::optional<IoError> wait();
    // Forgets what is not written yet and waits for the file being written.
    void drop();

private:
    void run();

    FramesFolderOps& ops_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::pair<std::filesystem::path, Bytes>> pending_;
    bool writing_ = false;
    bool closing_ = false;
    std::optional<IoError> failure_;
    std::exception_ptr thrown_;
    std::thread thread_; // last: it starts once everything above is there
};

} // namespace velvix::frames

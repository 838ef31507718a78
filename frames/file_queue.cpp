// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#include "file_queue.h"

namespace velvix::frames {

FileQueue::FileQueue(FramesFolderOps& ops) : ops_(ops), thread_([this] { run(); }) {}

FileQueue::~FileQueue()
{
    {
        const std::lock_guard lock(mutex_);
        pending_.clear();
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

bool FileQueue::push(std::filesystem::path file, Bytes bytes)
{
    {
        const std::lock_guard lock(mutex_);
        if (failure_ || thrown_) {
            return false;
        }
        pending_.emplace_back(std::move(file), std::move(bytes));
    }
    changed_.notify_all();
    return true;
}

std::optional<IoError> FileQueue::wait()
{
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return pending_.empty() && !writing_; });
    if (thrown_) {
        std::rethrow_exception(std::exchange(thrown_, nullptr));
    }
    return failure_;
}

void FileQueue::drop()
{
    std::unique_lock lock(mutex_);
    pending_.clear();
    changed_.wait(lock, [this] { return !writing_; });
}

void FileQueue::run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !pending_.empty(); });
        if (pending_.empty()) {
            return;
        }
        auto [file, bytes] = std::move(pending_.front());
        pending_.pop_front();
        writing_ = true;
        lock.unlock();
        std::optional<IoError> error;
        std::exception_ptr thrown;
        try {
            error = ops_.writeFile(file, bytes);
        } catch (...) {
            thrown = std::current_exception();
        }
        lock.lock();
        writing_ = false;
        if (error || thrown) {
            failure_ = std::move(error);
            thrown_ = thrown;
            pending_.clear();
        }
        changed_.notify_all();
    }
}

} // namespace velvix::frames

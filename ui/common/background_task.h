// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
#pragma once

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <utility>

namespace velvix::ui {

// Runs `work` on a thread of its own and hands its result to `done` on the
// receiver's thread; once the receiver is gone nothing is delivered. The
// receiver waits for the returned thread before it goes, since `work` may
// report to it meanwhile.
template <typename Result>
QThread* RunInBackground(QObject* receiver, std::function<Result()> work, std::function<void(Result)> done)
{
    auto result = std::make_shared<Result>();
    QThread* thread = QThread::create([work = std::move(work), result] { *result = work(); });
    QObject::connect(thread, &QThread::finished, receiver,
                     [done = std::move(done), result] { done(std::move(*result)); });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
    return thread;
}

} // namespace velvix::ui

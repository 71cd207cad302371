// SPDX-License-Identifier: GPL-3.0-or-later
// A computation of a window run on a thread of its own: it gets a stop token and a progress
// callback, and its share done and its result arrive on the window's thread (queued to the window,
// so that nothing arrives once the window is gone). The window's destructor (through this
// object's) stops the run and waits for it.
#pragma once

#include <QMetaObject>
#include <QObject>
#include <functional>
#include <stop_token>
#include <thread>
#include <utility>

namespace duoskop {

template <class Result>
class BackgroundRun {
public:
    /// The work: computes a result, reports its share done (0..1) now and then and returns early
    /// when the token asks it to stop.
    using Work = std::function<Result(std::stop_token, std::function<void(double)>)>;

    explicit BackgroundRun(QObject* owner) : owner_(owner) {}
    ~BackgroundRun() { stop_and_wait(); }
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    /// Starts `work`; `progress` gets each share reported, `done` the result (both on the owner's
    /// thread). A run under way is stopped and waited for first.
    void start(Work work, std::function<void(double)> progress, std::function<void(Result)> done)
    {
        stop_and_wait();
        stop_ = std::stop_source();
        running_ = true;
        // What an earlier run still has queued is dropped: only the latest run reports.
        const unsigned run = ++generation_;
        QObject* owner = owner_;
        auto report = [this, owner, run, progress = std::move(progress)](double share) {
            QMetaObject::invokeMethod(
                owner, [this, run, progress, share] { if (run == generation_) progress(share); },
                Qt::QueuedConnection);
        };
        worker_ = std::jthread([this, owner, run, token = stop_.get_token(), work = std::move(work),
                                report = std::move(report), done = std::move(done)]() mutable {
            Result result = work(token, report);
            QMetaObject::invokeMethod(
                owner,
                [this, run, done = std::move(done), result = std::move(result)]() mutable {
                    if (run != generation_) return;
                    running_ = false;
                    done(std::move(result));
                },
                Qt::QueuedConnection);
        });
    }

    /// Asks the run under way to stop; its result still arrives (marked as the work marks it).
    void stop() { stop_.request_stop(); }
    bool running() const { return running_; }

private:
    void stop_and_wait()
    {
        stop_.request_stop();
        if (worker_.joinable()) worker_.join();
    }

    QObject* owner_;
    bool running_ = false;
    unsigned generation_ = 0;
    std::stop_source stop_;
    std::jthread worker_;
};

}  // namespace duoskop

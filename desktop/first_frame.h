// SPDX-License-Identifier: GPL-3.0-or-later
// The first frame of a window: work that can wait until the window is on the screen, and the
// probe with which tools/bench-start times a program's start.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <utility>

namespace duoskop {

namespace first_frame_detail {

/// Watches `window` for its first paint and calls `then` once that paint is done. Watching through
/// `filtered`: the window itself, or the application, whose filters see each event before those of
/// the window (the last installed first), so that its callback is queued before theirs.
class Watcher : public QObject {
public:
    Watcher(QWidget* window, std::function<void()> then, QObject* filtered)
        : QObject(window), window_(window), filtered_(filtered), then_(std::move(then))
    {
        filtered_->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint && !fired_) {
            fired_ = true;
            filtered_->removeEventFilter(this);
            // Queued: runs once this paint and the flush to the screen that follows it are over.
            QTimer::singleShot(0, parent(), [this] {
                then_();
                deleteLater();
            });
        }
        return false;
    }

private:
    QObject* window_;
    QObject* filtered_;
    std::function<void()> then_;
    bool fired_ = false;
};

}  // namespace first_frame_detail

/// Calls `then` once, after `window` has painted for the first time.
inline void after_first_frame(QWidget* window, std::function<void()> then)
{
    new first_frame_detail::Watcher(window, std::move(then), window);
}

/// With the environment variable DUOSKOP_FIRST_FRAME set: once `window` has shown its first frame,
/// prints the wall-clock time (nanoseconds since 1970) on stdout and ends the program, before any
/// work that waits for that frame (after_first_frame) has run.
inline void report_first_frame(QWidget* window)
{
    if (std::getenv("DUOSKOP_FIRST_FRAME") == nullptr) return;
    new first_frame_detail::Watcher(window, [] {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        std::printf("%lld%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);  // the frame is what is timed, not the teardown
    }, QCoreApplication::instance());
}

}  // namespace duoskop

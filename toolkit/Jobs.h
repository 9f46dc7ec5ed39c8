// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Long work of the window (extracting many entries, saving an archive) as jobs: the work runs off
// the window's thread, the window shows its progress and stays painted, and takes no input but
// Cancel until the work has ended. Cancel only asks: the work looks at it between two files, so
// what was finished stays and nothing is left half written.

#include <atomic>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace brasvel {

// Shared between the work and the window: how far it got, the file it is at, and whether the
// user pressed Cancel.
class BackgroundTask {
public:
    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> total{0};
    std::atomic<bool> cancel{false};

    // The work, between two files: false once Cancel was pressed.
    bool goOn() {
        if (betweenFiles_) {
            betweenFiles_(*this);
        }
        return !cancel;
    }
    // What the work is at now, as the user reads it (a file name, UTF-8).
    void setCurrent(std::string name) {
        const std::lock_guard lock(mutex_);
        current_ = std::move(name);
    }
    std::string current() const {
        const std::lock_guard lock(mutex_);
        return current_;
    }
    // A test's seam: called at every goOn, on the work's thread (to press Cancel at the Nth
    // file, say).
    void onBetweenFiles(std::function<void(BackgroundTask&)> call) {
        betweenFiles_ = std::move(call);
    }

private:
    mutable std::mutex mutex_;
    std::string current_;
    std::function<void(BackgroundTask&)> betweenFiles_;
};

// Where a job shows its progress: the batch panel under the list (its bar and Cancel button), or
// a dialog of its own with a caption, the count and the current file's name.
enum class JobDisplay { BatchPanel, Dialog };

struct Job {
    JobDisplay display = JobDisplay::Dialog;
    std::string caption;  // the dialog's text
    // Runs on another thread. It must not touch the widgets; it calls task.goOn() between files.
    std::function<void()> work;
    // Runs on the window's thread, every few dozen milliseconds while the work runs and once
    // after it ended: shows what the work has done since (through a queue of its own).
    std::function<void()> showProgress;
};

// A job's work on a thread of its own. `ended` runs on that thread once the work has ended, as
// it did or by throwing; wait() waits for it and gives what the work threw (null: nothing).
class WorkThread {
public:
    explicit WorkThread(const std::function<void()>& work, std::function<void()> ended = {})
        : thread_([this, &work, ended = std::move(ended)] {
              try {
                  work();
              } catch (...) {
                  failure_ = std::current_exception();
              }
              finished_ = true;
              if (ended) {
                  ended();
              }
          }) {}
    ~WorkThread() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    WorkThread(const WorkThread&) = delete;
    WorkThread& operator=(const WorkThread&) = delete;

    bool finished() const { return finished_; }
    std::exception_ptr wait() {
        thread_.join();
        return failure_;
    }

private:
    std::exception_ptr failure_;
    std::atomic<bool> finished_{false};
    std::thread thread_;  // last: it starts once the rest is ready
};

class JobRunner {
public:
    virtual ~JobRunner() = default;
    // Runs the job and returns when its work has ended and its progress was last shown,
    // rethrowing what the work threw. Meanwhile every other control, menu, shortcut and timer of
    // the window is inert.
    virtual void runJob(const Job& job, BackgroundTask& task) = 0;

    // A job shown in a dialog, with nothing to show but the count.
    void runInBackground(std::string_view caption, BackgroundTask& task,
                         const std::function<void()>& work) {
        runJob(Job{JobDisplay::Dialog, std::string(caption), work, {}}, task);
    }
};

}  // namespace brasvel

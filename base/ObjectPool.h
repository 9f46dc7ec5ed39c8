// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// Objects that are costly to make and not safe to share (compressors, decompressors), lent to one
// thread at a time and kept for the next. A pool rather than one object per thread: objects with
// destructors in thread-local storage are freed at a thread's end in no reliable order under
// MinGW's threads (their storage may go first), which crashed the Windows build.

#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

namespace brasvel {

template <typename T, typename Deleter>
class ObjectPool {
public:
    using Owned = std::unique_ptr<T, Deleter>;

    // An object lent from the pool; it goes back when the lease ends.
    class Lease {
    public:
        Lease(ObjectPool& pool, Owned object, int kind)
            : pool_(&pool), object_(std::move(object)), kind_(kind) {}
        Lease(Lease&&) = default;
        Lease& operator=(Lease&&) = delete;
        ~Lease() {
            if (object_) {
                pool_->giveBack(std::move(object_), kind_);
            }
        }
        T& operator*() const { return *object_; }
        T* get() const { return object_.get(); }

    private:
        ObjectPool* pool_;
        Owned object_;
        int kind_;
    };

    // An object of `kind` (a compression level, say): a kept one, else one `make()` makes.
    // Throws std::bad_alloc when `make` gives none.
    template <typename Make>
    Lease lend(int kind, Make&& make) {
        {
            const std::lock_guard lock(mutex_);
            for (auto it = kept_.begin(); it != kept_.end(); ++it) {
                if (it->second == kind) {
                    Owned object = std::move(it->first);
                    kept_.erase(it);
                    return Lease(*this, std::move(object), kind);
                }
            }
        }
        Owned object(make());
        if (!object) {
            throw std::bad_alloc();
        }
        return Lease(*this, std::move(object), kind);
    }

private:
    // More than enough for every thread a batch may run; the rest are freed.
    static constexpr std::size_t kMostKept = 128;

    void giveBack(Owned object, int kind) {
        const std::lock_guard lock(mutex_);
        if (kept_.size() < kMostKept) {
            kept_.emplace_back(std::move(object), kind);
        }
    }

    std::mutex mutex_;
    std::vector<std::pair<Owned, int>> kept_;
};

}  // namespace brasvel

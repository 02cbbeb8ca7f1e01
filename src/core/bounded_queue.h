// A first-in first-out queue between threads that holds at most a fixed
// number of items: a producer that gets ahead waits, so the memory in flight
// stays flat however long the stream.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>

template <typename T>
class BoundedQueue {
public:
    explicit BoundedQueue(size_t capacity) : capacity_(capacity > 0 ? capacity : 1) {}

    // Waits for room, then adds item; false (item dropped) once the queue is closed.
    bool push(T item)
    {
        std::unique_lock lock(mutex_);
        notFull_.wait(lock, [this] { return closed_ || items_.size() < capacity_; });
        if (closed_)
            return false;
        items_.push_back(std::move(item));
        notEmpty_.notify_one();
        return true;
    }

    // Waits for an item; none once the queue is closed and empty.
    std::optional<T> pop()
    {
        std::unique_lock lock(mutex_);
        notEmpty_.wait(lock, [this] { return closed_ || !items_.empty(); });
        if (items_.empty())
            return std::nullopt;
        T item = std::move(items_.front());
        items_.pop_front();
        notFull_.notify_one();
        return item;
    }

    // No more pushes; what is queued can still be popped. Wakes every waiter.
    void close()
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        notFull_.notify_all();
        notEmpty_.notify_all();
    }

    // Closes the queue and drops what it holds, for a consumer that gave up.
    void abandon()
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
        items_.clear();
        notFull_.notify_all();
        notEmpty_.notify_all();
    }

    size_t size() const
    {
        std::lock_guard lock(mutex_);
        return items_.size();
    }
    size_t capacity() const { return capacity_; }

private:
    const size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable notFull_, notEmpty_;
    std::deque<T> items_;
    bool closed_ = false;
};

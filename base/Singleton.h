#pragma once

#include <atomic>
#include <mutex>

// Base of every process-wide controller. The instance is created on the first
// getInstance() call (double-checked under the per-type class mutex) and lives
// until the process ends. Derived classes befriend Singleton<T> so that their
// constructors can stay private.
template <class T>
class Singleton
{
public:
    virtual ~Singleton() = default;

    static T *getInstance()
    {
        T *instance = s_instance.load(std::memory_order_acquire);
        if (instance == nullptr) {
            std::lock_guard<std::mutex> lock(s_mutex);
            instance = s_instance.load(std::memory_order_relaxed);
            if (instance == nullptr) {
                instance = new T;
                s_instance.store(instance, std::memory_order_release);
            }
        }
        return instance;
    }

    // The class-wide mutex; some controllers also guard their own lists with it.
    static std::mutex &classMutex() { return s_mutex; }

private:
    static std::atomic<T *> s_instance;
    static std::mutex s_mutex;
};

template <class T>
std::atomic<T *> Singleton<T>::s_instance{nullptr};

template <class T>
std::mutex Singleton<T>::s_mutex;

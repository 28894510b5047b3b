#pragma once

#include <type_traits>
#include <utility>

// Work and values handed from one thread to another through Qt's event queue (a functor
// posted to an object of another thread, a worker's result queued back). Qt from the
// system is not built with ThreadSanitizer, so the order its queue gives (it posts under a
// lock of its own) is invisible to it; these helpers state that order where we hand over,
// so that ThreadSanitizer still sees every race of ours and none that is not one. In any
// other build they are nothing: Wrap gives the functor back as it is.

#if defined(__SANITIZE_THREAD__)
#define STAVOX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define STAVOX_THREAD_SANITIZER 1
#endif
#endif

#ifdef STAVOX_THREAD_SANITIZER
extern "C" void __tsan_acquire(void* address);
extern "C" void __tsan_release(void* address);
#endif

namespace HandOff {

#ifdef STAVOX_THREAD_SANITIZER

/// A value handed over by its address (it stays where it is, and is not changed after):
/// what the giving thread did before Give, the taking thread sees after Take.
inline void Give(const void* value) { __tsan_release(const_cast<void*>(value)); }
inline void Take(const void* value) { __tsan_acquire(const_cast<void*>(value)); }

/// One hand-over: what the giving thread did before Give, the taking thread sees after Take.
class Token {
public:
    void Give() { __tsan_release(&m_place); }
    void Take() { __tsan_acquire(&m_place); }

private:
    char m_place = 0;
};

/// A functor handed to another thread: what the giving thread did before it was made (its
/// captures included) happens before its call and its destruction, wherever they run; what
/// its call did happens before its destruction (Qt may destroy it on the posting thread).
template <typename Work>
class Handed {
public:
    explicit Handed(Work work) : m_work(std::move(work)) { m_place.Give(); }
    Handed(const Handed& other) : m_work(other.m_work) { m_place.Give(); }
    // A move is still part of the posting (Qt moves the functor into its event), so it gives
    // again once the functor sits where the other thread will find it.
    Handed(Handed&& other) noexcept(std::is_nothrow_move_constructible_v<Work>)
        : m_work(std::move(other.m_work)) {
        m_place.Give();
    }
    Handed& operator=(const Handed&) = delete;
    Handed& operator=(Handed&&) = delete;
    // The captures go after this body: they are destroyed once the hand-over is seen.
    ~Handed() { m_place.Take(); }

    // Takes no arguments: Qt reads the posted functor's signature off its call operator.
    auto operator()() -> decltype(std::declval<Work&>()()) {
        m_place.Take();
        const GiveWhenDone done{m_place};
        return m_work();
    }

private:
    struct GiveWhenDone {
        Token& place;
        ~GiveWhenDone() { place.Give(); }
    };

    // Stated at the functor's own place, which it keeps from its last move on: its address
    // needs no read that the other thread could race with.
    Token m_place;
    Work m_work;
};

template <typename Work>
Handed<std::decay_t<Work>> Wrap(Work&& work) {
    return Handed<std::decay_t<Work>>(std::forward<Work>(work));
}

#else

inline void Give(const void*) {}
inline void Take(const void*) {}

class Token {
public:
    void Give() {}
    void Take() {}
};

template <typename Work>
std::decay_t<Work> Wrap(Work&& work) {
    return std::forward<Work>(work);
}

#endif

}  // namespace HandOff

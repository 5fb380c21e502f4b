#include "TarvSystem/Clock/SystemClock.hpp"

#include "TarvCore/Concurrency/CancellationError.hpp"

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <cstdint>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace tarv::system {

namespace {

struct Descriptor {
    int fd;
    explicit Descriptor(int value) : fd(value) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

// Fallback when the kernel descriptors cannot be made: waits on the
// monotonic clock with a condition variable.
void sleepWithoutDescriptors(std::chrono::milliseconds duration, std::stop_token stop) {
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    const auto deadline = std::chrono::steady_clock::now() + duration;
    wake.wait_until(lock, stop, deadline, [] { return false; });
    if (stop.stop_requested()) throw core::CancellationError();
}

}  // namespace

std::chrono::system_clock::time_point SystemClock::now() const { return std::chrono::system_clock::now(); }

void SystemClock::sleep(std::chrono::milliseconds duration, std::stop_token stop) const {
    if (stop.stop_requested()) throw core::CancellationError();
    if (duration <= std::chrono::milliseconds::zero()) return;

    // The boot-time clock keeps counting while the machine is suspended, so
    // a five-minute wait does not grow by the time spent asleep.
    Descriptor timer(::timerfd_create(CLOCK_BOOTTIME, TFD_CLOEXEC));
    Descriptor wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (timer.fd < 0 || wake.fd < 0) {
        sleepWithoutDescriptors(duration, stop);
        return;
    }
    itimerspec spec{};
    const auto count = duration.count();
    spec.it_value.tv_sec = static_cast<time_t>(count / 1000);
    spec.it_value.tv_nsec = static_cast<long>((count % 1000) * 1'000'000);
    if (::timerfd_settime(timer.fd, 0, &spec, nullptr) != 0) {
        sleepWithoutDescriptors(duration, stop);
        return;
    }
    const int wakeFd = wake.fd;
    std::stop_callback onStop(stop, [wakeFd] {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(wakeFd, &one, sizeof one);
    });
    pollfd fds[2] = {{timer.fd, POLLIN, 0}, {wake.fd, POLLIN, 0}};
    for (;;) {
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) continue;
            // Nothing sensible is left to wait on; end the sleep.
            break;
        }
        if (fds[1].revents != 0) throw core::CancellationError();
        if (fds[0].revents != 0) break;
    }
    if (stop.stop_requested()) throw core::CancellationError();
}

}  // namespace tarv::system

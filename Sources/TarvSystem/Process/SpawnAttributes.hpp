#pragma once

#include <spawn.h>

#include <csignal>

namespace tarv::system {

// posix_spawn attributes that give the child every signal at its default
// action and none blocked, plus the given extra flags (a new session, ...).
// Whatever this process ignores or blocks (SIGPIPE, for one) is thus reset.
class SpawnAttributes {
public:
    explicit SpawnAttributes(short extraFlags) {
        error_ = ::posix_spawnattr_init(&attributes_);
        if (error_ != 0) return;
        initialised_ = true;
        sigset_t all;
        sigset_t none;
        ::sigfillset(&all);
        ::sigemptyset(&none);
        if (error_ == 0) error_ = ::posix_spawnattr_setsigdefault(&attributes_, &all);
        if (error_ == 0) error_ = ::posix_spawnattr_setsigmask(&attributes_, &none);
        if (error_ == 0)
            error_ = ::posix_spawnattr_setflags(
                &attributes_, static_cast<short>(POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | extraFlags));
    }
    ~SpawnAttributes() {
        if (initialised_) ::posix_spawnattr_destroy(&attributes_);
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    // 0, or the error number of the call that failed while setting up.
    int error() const noexcept { return error_; }
    const posix_spawnattr_t* get() const noexcept { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
    bool initialised_ = false;
    int error_ = 0;
};

}  // namespace tarv::system

#include "TarvSystem/Process/SpawnLock.hpp"

namespace tarv::system {

std::mutex& spawnLock() {
    static std::mutex lock;
    return lock;
}

}  // namespace tarv::system

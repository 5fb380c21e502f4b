#include "TarvSystem/Process/ProcessOutputBuffer.hpp"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace tarv::system {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Largest single read once the output is big: fewer system calls per byte.
constexpr std::size_t kDirectRead = std::size_t{1} << 20;
// First committed size of a reservation, then doubled as needed.
constexpr std::size_t kFirstCommit = std::size_t{4} << 20;
// The copy in take() releases the reservation in pieces of this size.
constexpr std::size_t kHandOverPiece = kHugePage;

std::size_t roundUp(std::size_t value, std::size_t step) { return (value + step - 1) / step * step; }

// Address space to reserve for one large output: twice the physical memory
// (no output bigger than that could be held anyway), within sane bounds.
// Only reserved, never committed: it costs no memory.
std::size_t reservationBytes() {
    constexpr std::size_t kMin = std::size_t{1} << 30;
    constexpr std::size_t kMax = std::size_t{1} << 40;
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    std::size_t bytes = kMin;
    if (pages > 0 && pageSize > 0) bytes = std::size_t(pages) * std::size_t(pageSize) * 2;
    return roundUp(std::clamp(bytes, kMin, kMax), kHugePage);
}

// Asks for huge pages on the page-aligned inside of [data, data + size).
void adviseHugePages(void* data, std::size_t size) {
    const std::size_t page = std::size_t(::sysconf(_SC_PAGESIZE));
    auto begin = reinterpret_cast<std::uintptr_t>(data);
    const auto end = (begin + size) / page * page;
    begin = roundUp(begin, page);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

}  // namespace

ProcessOutputBuffer::~ProcessOutputBuffer() { releaseReservation(); }

void ProcessOutputBuffer::releaseReservation() noexcept {
    if (reservation_) ::munmap(reservation_, reservationSize_);
    reservation_ = nullptr;
    reservationSize_ = 0;
    base_ = nullptr;
    usable_ = committed_ = size_ = 0;
}

bool ProcessOutputBuffer::enterLargeMode() {
    const std::size_t usable = reservationBytes();
    const std::size_t total = usable + kHugePage;
    void* region = ::mmap(nullptr, total, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (region == MAP_FAILED) return false;
    auto* base = reinterpret_cast<std::uint8_t*>(roundUp(reinterpret_cast<std::uintptr_t>(region), kHugePage));
    const std::size_t first = std::max(kFirstCommit, roundUp(small_.size() + kDirectRead, kHugePage));
    if (::mprotect(base, first, PROT_READ | PROT_WRITE) != 0) {
        ::munmap(region, total);
        return false;
    }
    ::madvise(base, usable, MADV_HUGEPAGE);
    reservation_ = region;
    reservationSize_ = total;
    base_ = base;
    usable_ = usable;
    committed_ = first;
    size_ = small_.size();
    if (size_ > 0) std::memcpy(base_, small_.data(), size_);
    std::vector<std::uint8_t>().swap(small_);
    return true;
}

bool ProcessOutputBuffer::reserveSpace(std::size_t want) {
    if (committed_ - size_ >= want) return true;
    std::size_t target = roundUp(std::max(committed_ * 2, size_ + want), kHugePage);
    target = std::min(target, usable_);
    if (target <= size_) return false;
    if (target > committed_) {
        if (::mprotect(base_ + committed_, target - committed_, PROT_READ | PROT_WRITE) != 0) return false;
        committed_ = target;
    }
    return true;
}

ssize_t ProcessOutputBuffer::readFrom(int fd, std::span<std::uint8_t> scratch) {
    if (!base_ && small_.size() + scratch.size() > largeThreshold) enterLargeMode();
    if (base_) {
        if (!reserveSpace(kDirectRead) && committed_ == size_) throw std::bad_alloc();
        const ssize_t n = ::read(fd, base_ + size_, std::min(kDirectRead, committed_ - size_));
        if (n > 0) size_ += std::size_t(n);
        return n;
    }
    const ssize_t n = ::read(fd, scratch.data(), scratch.size());
    if (n > 0) small_.insert(small_.end(), scratch.data(), scratch.data() + n);
    return n;
}

void ProcessOutputBuffer::append(std::span<const std::uint8_t> bytes) {
    if (!base_ && small_.size() + bytes.size() > largeThreshold) enterLargeMode();
    if (!base_) {
        small_.insert(small_.end(), bytes.begin(), bytes.end());
        return;
    }
    if (!reserveSpace(bytes.size())) throw std::bad_alloc();
    if (!bytes.empty()) std::memcpy(base_ + size_, bytes.data(), bytes.size());
    size_ += bytes.size();
}

std::vector<std::uint8_t> ProcessOutputBuffer::take() {
    if (!base_) return std::exchange(small_, {});
    std::vector<std::uint8_t> out;
    out.reserve(size_);
    if (size_ >= 2 * kHugePage) adviseHugePages(out.data(), size_);
    for (std::size_t offset = 0; offset < size_; offset += kHandOverPiece) {
        const std::size_t n = std::min(kHandOverPiece, size_ - offset);
        out.insert(out.end(), base_ + offset, base_ + offset + n);
        ::madvise(base_ + offset, n, MADV_DONTNEED);
    }
    releaseReservation();
    return out;
}

}  // namespace tarv::system

#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tarv::system {

// Collects everything a child writes to one of its output pipes.
//
// Small outputs (the usual case) go into a plain vector. Once an output passes
// one mebibyte it moves to a private address-space reservation that grows in
// place (no reallocation, no copies while reading) and is read into directly,
// backed by huge pages where the kernel offers them. `take()` hands the bytes
// over in a vector, copying piece by piece and releasing each copied piece at
// once, so that the peak memory stays close to the output size instead of
// twice it.
class ProcessOutputBuffer {
public:
    static constexpr std::size_t largeThreshold = std::size_t{1} << 20;

    ProcessOutputBuffer() = default;
    ~ProcessOutputBuffer();
    ProcessOutputBuffer(const ProcessOutputBuffer&) = delete;
    ProcessOutputBuffer& operator=(const ProcessOutputBuffer&) = delete;

    // One read(2) from `fd`, keeping what arrived. While the output is small
    // the read goes through `scratch`; later it goes straight into the
    // reservation. Returns read(2)'s result (errno is left as read set it).
    // Throws std::bad_alloc when the output cannot be held.
    ssize_t readFrom(int fd, std::span<std::uint8_t> scratch);

    // Keeps `bytes` as if they had been read.
    void append(std::span<const std::uint8_t> bytes);

    std::size_t size() const noexcept { return base_ ? size_ : small_.size(); }

    // Moves the collected bytes out; the buffer is empty afterwards.
    std::vector<std::uint8_t> take();

private:
    bool enterLargeMode();
    bool reserveSpace(std::size_t want);
    void releaseReservation() noexcept;

    std::vector<std::uint8_t> small_;
    void* reservation_ = nullptr;
    std::size_t reservationSize_ = 0;
    std::uint8_t* base_ = nullptr;  // huge-page aligned start inside the reservation
    std::size_t usable_ = 0;        // bytes usable from base_
    std::size_t committed_ = 0;     // bytes from base_ that are readable and writable
    std::size_t size_ = 0;          // bytes kept from base_
};

}  // namespace tarv::system

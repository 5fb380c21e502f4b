// Feeds arbitrary bytes to the askpass server's request decoder, and checks
// that whatever it accepts survives an encode/decode round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvSystem/IPC/AskpassRequest.hpp"
#include "TarvSystem/IPC/AskpassResponse.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    if (const auto request = tarv::system::AskpassRequest::decode(line)) {
        const auto again = tarv::system::AskpassRequest::decode(request->encode());
        if (!again || *again != *request) std::abort();
    }
    if (const auto response = tarv::system::AskpassResponse::decode(line)) {
        const auto again = tarv::system::AskpassResponse::decode(response->encode());
        if (!again || *again != *response) std::abort();
    }
    return 0;
}

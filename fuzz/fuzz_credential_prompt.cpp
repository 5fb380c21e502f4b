// libFuzzer target: prompt texts come from git, ssh and whatever runs the
// askpass helper. Any bytes must classify without a fault; the subject is
// always a piece of the prompt.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "TarvCore/Rules/CredentialPromptParser.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarv::core;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto parsed = CredentialPromptParser::parse(input);
    if (parsed.subject) {
        if (parsed.subject->empty()) std::abort();
        if (input.find("'" + *parsed.subject + "'") == std::string_view::npos) std::abort();
    }
    return 0;
}

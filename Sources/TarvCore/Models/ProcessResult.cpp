#include "TarvCore/Models/ProcessResult.hpp"

#include "TarvCore/Text/Utf8.hpp"

namespace tarv::core {

std::string ProcessResult::stdoutString() const { return text::decodeLossy(stdout); }

std::string ProcessResult::stderrString() const { return text::decodeLossy(stderr); }

}  // namespace tarv::core

#include "TarvCore/Models/HTTPResponse.hpp"

#include "TarvCore/Text/Utf8.hpp"

namespace tarv::core {

std::string HTTPResponse::text() const { return text::decodeLossy(body); }

}  // namespace tarv::core

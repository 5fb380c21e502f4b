#include "TarvCore/Models/GitHubRepository.hpp"

namespace tarv::core {

std::string GitHubRepository::name() const {
    std::size_t end = fullName.size();
    while (end > 0 && fullName[end - 1] == '/') --end;
    if (end == 0) return fullName;
    const std::size_t slash = fullName.rfind('/', end - 1);
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    return fullName.substr(start, end - start);
}

}  // namespace tarv::core

#pragma once

#include <filesystem>
#include <functional>

namespace tarv::testing {

// The error number of the std::filesystem::filesystem_error that `action`
// throws; 0 when it throws none.
inline int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::filesystem::filesystem_error& error) {
        return error.code().value();
    }
    return 0;
}

}  // namespace tarv::testing

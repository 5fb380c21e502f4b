#pragma once

#include <string>
#include <vector>

namespace tarv::system {

// A null-terminated array of C strings (an argument or environment vector for
// posix_spawn) that points into strings it owns.
class CStringArray {
public:
    explicit CStringArray(std::vector<std::string> strings) : strings_(std::move(strings)) {
        pointers_.reserve(strings_.size() + 1);
        for (auto& s : strings_) pointers_.push_back(s.data());
        pointers_.push_back(nullptr);
    }
    CStringArray(const CStringArray&) = delete;
    CStringArray& operator=(const CStringArray&) = delete;

    char* const* get() const noexcept { return pointers_.data(); }

private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

}  // namespace tarv::system

#pragma once

#include <optional>
#include <stop_token>
#include <string>

namespace tarv::core {

// Stores secrets (the hosting session) under a service name. Blocking calls.
class SecretStore {
public:
    virtual ~SecretStore() = default;

    // The stored value; none when nothing is stored or it cannot be read.
    virtual std::optional<std::string> read(const std::string& service, std::stop_token stop) = 0;

    // Stores the value, replacing any earlier one. Throws SecretStoreError.
    virtual void write(const std::string& service, const std::string& value, std::stop_token stop) = 0;

    // Removes the stored value (`remove`, as delete is a C++ keyword); removing nothing is no
    // error and nothing is reported.
    virtual void remove(const std::string& service, std::stop_token stop) = 0;
};

}  // namespace tarv::core

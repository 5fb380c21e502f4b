#pragma once

#include <stop_token>
#include <string>

namespace tarv::core {

// Talking to remotes, cloning and creating repositories. Every call blocks
// and throws (a RemoteFailure for classified remote failures).
class RemoteSyncing {
public:
    virtual ~RemoteSyncing() = default;

    virtual void fetch(const std::string& repository, std::stop_token stop) = 0;
    virtual void pull(const std::string& repository, std::stop_token stop) = 0;
    virtual void push(const std::string& repository, const std::string& branch, bool setUpstream,
                      std::stop_token stop) = 0;
    virtual void clone(const std::string& url, const std::string& directory, std::stop_token stop) = 0;
    virtual void initRepository(const std::string& directory, std::stop_token stop) = 0;
    virtual void addRemote(const std::string& repository, const std::string& name, const std::string& url,
                           std::stop_token stop) = 0;
    virtual void setRemoteURL(const std::string& repository, const std::string& name, const std::string& url,
                              std::stop_token stop) = 0;
};

}  // namespace tarv::core

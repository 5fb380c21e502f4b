#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarv::system {

// The item file of the keychain stand-in tool: generic-password items kept
// in one JSON file that only its owner may read (mode 0600), inside folders
// created with mode 0700, and always replaced whole and atomically.
//
// Format: {"version": 1, "items": [{"service": S, "account": A, "label": L,
// "data": hexadecimal bytes}, ...]}, items in the order they were added.
class KeychainFile {
public:
    struct Item {
        std::string service;
        std::string account;
        std::string label;
        std::vector<std::uint8_t> data;

        bool operator==(const Item&) const = default;
    };

    // Thrown when the file exists but is not a readable item file; the tool
    // then changes nothing, so a damaged file is never overwritten.
    struct Damaged : std::exception {
        std::string message;
        explicit Damaged(std::string text) : message(std::move(text)) {}
        const char* what() const noexcept override { return message.c_str(); }
    };

    explicit KeychainFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // The items; none when the file does not exist. Throws Damaged, or
    // std::filesystem::filesystem_error when it cannot be read.
    std::vector<Item> load() const;

    // Replaces the file with these items (mode 0600), creating its missing
    // folders with mode 0700. Throws std::filesystem::filesystem_error.
    void save(const std::vector<Item>& items) const;

    // Holds an advisory lock on the file's folder for the life of the value,
    // so that two runs of the tool do not lose each other's changes.
    class FolderLock {
    public:
        FolderLock(const KeychainFile& file, bool exclusive);
        FolderLock(const FolderLock&) = delete;
        FolderLock& operator=(const FolderLock&) = delete;
        ~FolderLock();

    private:
        int fd_ = -1;
    };

    // Creates the missing folders of the path with mode 0700.
    void prepareFolder() const;

    static std::string encode(const std::vector<Item>& items);
    static std::vector<Item> decode(const std::string& text);  // throws Damaged

private:
    std::string path_;
};

}  // namespace tarv::system

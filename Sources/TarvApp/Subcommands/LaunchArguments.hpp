#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "TarvCore/Localization/Language.hpp"

namespace tarv::app {

// The options of the interface and the gallery, as given on the command line
// (everything after the program name when no subcommand was named).
//
// Options may come in any order and any number of times; the last one wins.
// "--theme" and "--lang" take the next element verbatim as their value (even
// one starting with "-"); at the end of the arguments they are ignored. Any
// other element starting with "-" is an unknown option; any other element is
// the start path, a later one replacing an earlier one. "--help"/"-h" and
// "--version"/"-v" among them ask for the usage or the version instead of a
// launch (the first of them wins), in the language of the other options.
struct LaunchArguments {
    enum class Request { launch, help, version };

    bool mouse = true;                       // "--no-mouse" turns it off
    bool noColor = false;                    // "--no-color"
    bool gallery = false;                    // "--gallery"
    std::optional<std::string> themeFlag;    // "--theme VALUE"
    std::optional<core::Language> language;  // "--lang VALUE": Spanish when VALUE starts with "es"
    std::optional<std::string> startPath;
    Request request = Request::launch;

    bool operator==(const LaunchArguments&) const = default;

    // The first element that is not an option the interface knows, and the
    // "--lang" choice among all the elements (the message about it is in
    // that language).
    struct UnknownOption {
        std::string argument;
        std::optional<core::Language> language;
        bool operator==(const UnknownOption&) const = default;
    };

    static std::variant<LaunchArguments, UnknownOption> parse(const std::vector<std::string>& arguments);

    // The "--lang" choice of `arguments`, read as `parse` reads it (unknown
    // elements are passed over).
    static std::optional<core::Language> languageOption(const std::vector<std::string>& arguments);
};

}  // namespace tarv::app

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
// the start path, a later one replacing an earlier one.
struct LaunchArguments {
    bool mouse = true;                       // "--no-mouse" turns it off
    bool noColor = false;                    // "--no-color"
    bool gallery = false;                    // "--gallery"
    std::optional<std::string> themeFlag;    // "--theme VALUE"
    std::optional<core::Language> language;  // "--lang VALUE": Spanish when VALUE starts with "es"
    std::optional<std::string> startPath;

    bool operator==(const LaunchArguments&) const = default;

    // The first element that is not an option the interface knows.
    struct UnknownOption {
        std::string argument;
        bool operator==(const UnknownOption&) const = default;
    };

    static std::variant<LaunchArguments, UnknownOption> parse(const std::vector<std::string>& arguments);
};

}  // namespace tarv::app

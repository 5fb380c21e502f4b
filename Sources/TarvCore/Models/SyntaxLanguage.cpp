#include "TarvCore/Models/SyntaxLanguage.hpp"

#include "TarvCore/Text/Unicode.hpp"

#include <array>
#include <string>
#include <utility>

namespace tarv::core {

namespace {

// Keyword sets (430 words in all).
constexpr std::array<std::string_view, 70> swiftKeywords = {
    "actor", "any", "as", "associatedtype", "async", "await", "break", "case", "catch", "class", "continue",
    "default", "defer", "deinit", "do", "else", "enum", "extension", "fallthrough", "false", "fileprivate",
    "final", "for", "func", "guard", "if", "import", "in", "init", "inout", "internal", "is", "isolated",
    "let", "lazy", "mutating", "nil", "nonisolated", "open", "operator", "override", "package", "private",
    "protocol", "public", "repeat", "rethrows", "return", "self", "Self", "some", "static", "struct",
    "subscript", "super", "switch", "throw", "throws", "true", "try", "typealias", "var", "weak", "where",
    "while", "@MainActor", "@Test", "@escaping", "@Sendable", "#expect",
};

constexpr std::array<std::string_view, 86> cLikeKeywords = {
    "abstract", "auto", "bool", "boolean", "break", "byte", "case", "catch", "char", "class", "const",
    "constexpr", "continue", "data", "default", "delete", "do", "double", "else", "enum", "extends",
    "extern", "false", "final", "float", "for", "fun", "goto", "if", "implements", "import", "include",
    "inline", "instanceof", "int", "interface", "long", "namespace", "new", "null", "nullptr", "object",
    "operator", "override", "package", "private", "protected", "public", "return", "short", "signed",
    "sizeof", "static", "struct", "super", "switch", "template", "this", "throw", "throws", "true", "try",
    "typedef", "typename", "union", "unsigned", "using", "val", "var", "virtual", "void", "volatile", "when",
    "while", "#include", "#define", "#import", "#if", "#ifdef", "#ifndef", "#endif", "@interface",
    "@implementation", "@end", "@property", "@Override",
};

constexpr std::array<std::string_view, 28> goKeywords = {
    "break", "case", "chan", "const", "continue", "default", "defer", "else", "fallthrough", "false", "for",
    "func", "go", "goto", "if", "import", "interface", "map", "nil", "package", "range", "return", "select",
    "struct", "switch", "true", "type", "var",
};

constexpr std::array<std::string_view, 38> rustKeywords = {
    "as", "async", "await", "break", "const", "continue", "crate", "dyn", "else", "enum", "extern", "false",
    "fn", "for", "if", "impl", "in", "let", "loop", "match", "mod", "move", "mut", "pub", "ref", "return",
    "self", "Self", "static", "struct", "super", "trait", "true", "type", "unsafe", "use", "where", "while",
};

constexpr std::array<std::string_view, 53> javascriptKeywords = {
    "abstract", "as", "async", "await", "break", "case", "catch", "class", "const", "continue", "debugger",
    "declare", "default", "delete", "do", "else", "enum", "export", "extends", "false", "finally", "for",
    "from", "function", "if", "implements", "import", "in", "instanceof", "interface", "let", "new", "null",
    "of", "private", "protected", "public", "readonly", "return", "static", "super", "switch", "this",
    "throw", "true", "try", "type", "typeof", "undefined", "var", "void", "while", "yield",
};

constexpr std::array<std::string_view, 36> pythonKeywords = {
    "and", "as", "assert", "async", "await", "break", "class", "continue", "def", "del", "elif", "else",
    "except", "False", "finally", "for", "from", "global", "if", "import", "in", "is", "lambda", "None",
    "nonlocal", "not", "or", "pass", "raise", "return", "self", "True", "try", "while", "with", "yield",
};

constexpr std::array<std::string_view, 37> rubyKeywords = {
    "alias", "and", "begin", "break", "case", "class", "def", "defined?", "do", "else", "elsif", "end",
    "ensure", "false", "for", "if", "in", "module", "next", "nil", "not", "or", "redo", "require", "rescue",
    "retry", "return", "self", "super", "then", "true", "undef", "unless", "until", "when", "while", "yield",
};

constexpr std::array<std::string_view, 23> shellKeywords = {
    "case", "do", "done", "elif", "else", "esac", "export", "fi", "for", "function", "if", "in", "local",
    "readonly", "return", "select", "set", "then", "until", "while", "echo", "exit", "source",
};

constexpr std::array<std::string_view, 7> dataKeywords = {
    "true", "false", "null", "yes", "no", "on", "off",
};

constexpr std::array<std::string_view, 52> sqlKeywords = {
    "add", "alter", "and", "as", "asc", "begin", "between", "by", "case", "commit", "create", "delete",
    "desc", "distinct", "drop", "else", "end", "exists", "foreign", "from", "group", "having", "in", "index",
    "inner", "insert", "into", "is", "join", "key", "left", "like", "limit", "not", "null", "on", "or",
    "order", "outer", "primary", "references", "right", "select", "set", "table", "then", "union", "unique",
    "update", "values", "when", "where",
};

template <std::size_t N>
std::unordered_set<std::string_view> makeSet(const std::array<std::string_view, N>& words) {
    return std::unordered_set<std::string_view>(words.begin(), words.end());
}

std::string_view fileName(std::string_view path) {
    std::size_t end = path.size();
    while (end > 0 && path[end - 1] == '/') --end;
    if (end == 0) return path;
    const std::size_t slash = path.rfind('/', end - 1);
    const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
    return path.substr(start, end - start);
}

}  // namespace

std::optional<SyntaxLanguage> detectSyntaxLanguage(std::string_view path) {
    const std::string_view name = fileName(path);
    static constexpr std::array<std::string_view, 7> shellNames = {
        "Makefile", "makefile", "GNUmakefile", "Dockerfile", ".zshrc", ".bashrc", ".profile",
    };
    static constexpr std::array<std::string_view, 5> rubyNames = {
        "Gemfile", "Podfile", "Brewfile", "Fastfile", "Rakefile",
    };
    for (std::string_view whole : shellNames)
        if (name == whole) return SyntaxLanguage::shell;
    for (std::string_view whole : rubyNames)
        if (name == whole) return SyntaxLanguage::ruby;

    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return std::nullopt;
    const std::string extension = text::lowercased(name.substr(dot + 1));

    static const std::array<std::pair<std::string_view, SyntaxLanguage>, 45> extensions = {{
        {"swift", SyntaxLanguage::swift},
        {"c", SyntaxLanguage::cLike}, {"h", SyntaxLanguage::cLike}, {"cc", SyntaxLanguage::cLike},
        {"cpp", SyntaxLanguage::cLike}, {"cxx", SyntaxLanguage::cLike}, {"hpp", SyntaxLanguage::cLike},
        {"hh", SyntaxLanguage::cLike}, {"m", SyntaxLanguage::cLike}, {"mm", SyntaxLanguage::cLike},
        {"java", SyntaxLanguage::cLike}, {"kt", SyntaxLanguage::cLike}, {"kts", SyntaxLanguage::cLike},
        {"cs", SyntaxLanguage::cLike}, {"scala", SyntaxLanguage::cLike}, {"dart", SyntaxLanguage::cLike},
        {"gradle", SyntaxLanguage::cLike}, {"groovy", SyntaxLanguage::cLike},
        {"go", SyntaxLanguage::go},
        {"rs", SyntaxLanguage::rust},
        {"js", SyntaxLanguage::javascript}, {"jsx", SyntaxLanguage::javascript}, {"mjs", SyntaxLanguage::javascript},
        {"cjs", SyntaxLanguage::javascript}, {"ts", SyntaxLanguage::javascript}, {"tsx", SyntaxLanguage::javascript},
        {"mts", SyntaxLanguage::javascript}, {"cts", SyntaxLanguage::javascript},
        {"py", SyntaxLanguage::python}, {"pyi", SyntaxLanguage::python},
        {"rb", SyntaxLanguage::ruby}, {"rake", SyntaxLanguage::ruby}, {"gemspec", SyntaxLanguage::ruby},
        {"podspec", SyntaxLanguage::ruby},
        {"sh", SyntaxLanguage::shell}, {"bash", SyntaxLanguage::shell}, {"zsh", SyntaxLanguage::shell},
        {"fish", SyntaxLanguage::shell}, {"command", SyntaxLanguage::shell},
        {"json", SyntaxLanguage::json}, {"jsonc", SyntaxLanguage::json}, {"geojson", SyntaxLanguage::json},
        {"yml", SyntaxLanguage::yaml}, {"yaml", SyntaxLanguage::yaml},
        {"sql", SyntaxLanguage::sql},
    }};
    for (const auto& [ext, language] : extensions)
        if (extension == ext) return language;
    return std::nullopt;
}

const std::unordered_set<std::string_view>& syntaxKeywords(SyntaxLanguage language) {
    static const std::unordered_set<std::string_view> swift = makeSet(swiftKeywords);
    static const std::unordered_set<std::string_view> cLike = makeSet(cLikeKeywords);
    static const std::unordered_set<std::string_view> go = makeSet(goKeywords);
    static const std::unordered_set<std::string_view> rust = makeSet(rustKeywords);
    static const std::unordered_set<std::string_view> javascript = makeSet(javascriptKeywords);
    static const std::unordered_set<std::string_view> python = makeSet(pythonKeywords);
    static const std::unordered_set<std::string_view> ruby = makeSet(rubyKeywords);
    static const std::unordered_set<std::string_view> shell = makeSet(shellKeywords);
    static const std::unordered_set<std::string_view> data = makeSet(dataKeywords);
    static const std::unordered_set<std::string_view> sql = makeSet(sqlKeywords);
    switch (language) {
        case SyntaxLanguage::swift: return swift;
        case SyntaxLanguage::cLike: return cLike;
        case SyntaxLanguage::go: return go;
        case SyntaxLanguage::rust: return rust;
        case SyntaxLanguage::javascript: return javascript;
        case SyntaxLanguage::python: return python;
        case SyntaxLanguage::ruby: return ruby;
        case SyntaxLanguage::shell: return shell;
        case SyntaxLanguage::json:
        case SyntaxLanguage::yaml: return data;
        case SyntaxLanguage::sql: return sql;
    }
    return data;
}

std::string_view syntaxStringDelimiters(SyntaxLanguage language) {
    switch (language) {
        case SyntaxLanguage::swift:
        case SyntaxLanguage::rust:
        case SyntaxLanguage::json: return "\"";
        case SyntaxLanguage::go:
        case SyntaxLanguage::javascript: return "\"'`";
        case SyntaxLanguage::cLike:
        case SyntaxLanguage::python:
        case SyntaxLanguage::ruby:
        case SyntaxLanguage::shell:
        case SyntaxLanguage::yaml:
        case SyntaxLanguage::sql: return "\"'";
    }
    return "\"";
}

}  // namespace tarv::core

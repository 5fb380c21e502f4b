#include "TarvApp/Subcommands/KeychainTool.hpp"

// The keychain stand-in: speaks the commands the secret store sends to a
// system keychain tool, keeping the items in a private file.
int main(int argc, char** argv) { return tarv::app::runKeychainTool(argc, argv); }

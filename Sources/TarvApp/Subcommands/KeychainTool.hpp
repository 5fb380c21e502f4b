#pragma once

namespace tarv::app {

// The keychain stand-in executable (tarv-keychain): runs one invocation with
// the process's arguments and standard streams and returns its exit status.
// Items go to the keychain file named on the command line, else to
// "keychain/secrets.json" in the state folder.
int runKeychainTool(int argc, char** argv);

}  // namespace tarv::app

#pragma once

#include <functional>
#include <memory>
#include <string>

#include "TarvApp/Runtime/AppHost.hpp"
#include "TarvApp/Runtime/RuntimeLoop.hpp"
#include "TarvApp/Runtime/RuntimeOptions.hpp"
#include "TarvCore/Concurrency/MainQueue.hpp"
#include "TarvCore/Ports/ForegroundProcessRunning.hpp"
#include "TarvFeatures/Architecture/Dependencies.hpp"
#include "TarvFeatures/Architecture/LiveEffectExecutor.hpp"
#include "TarvUI/Screens/RenderedFrame.hpp"

namespace tarv::app {

// The interactive program: the application state with its reducer over the
// live dependencies, drawn by the application view, input turned into
// actions by the input router, all driven by the runtime loop on the main thread, effect jobs on threads of their own
// reporting back through the loop's queue. Made once, after the live
// dependencies; `run` returns the process exit code.
class AppRuntime {
public:
    AppRuntime(features::Dependencies dependencies, RuntimeOptions options,
               std::shared_ptr<core::ForegroundProcessRunning> foreground, std::function<void()> shutdown);
    AppRuntime(const AppRuntime&) = delete;
    AppRuntime& operator=(const AppRuntime&) = delete;

    // Takes the terminal, launches at `startDirectory` (an absolute path)
    // and runs until quit, a terminating signal or the end of input (0), or
    // fails to take the terminal (1). Work still running at quit is waited
    // for, with a notice on the normal screen (QuitNotice).
    int run(const std::string& startDirectory);

    // The screens of the options: the application view and the input
    // routing.
    static AppHost<ui::RenderedFrame>::Screens screens(const RuntimeOptions& options);

private:
    RuntimeOptions options_;
    std::shared_ptr<core::MainQueue> queue_;
    std::shared_ptr<features::LiveEffectExecutor> executor_;
    AppHost<ui::RenderedFrame> host_;
    RuntimeLoop loop_;
};

}  // namespace tarv::app

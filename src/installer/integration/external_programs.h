#pragma once

// The external programs that component programs and the finishing steps queue, run after a
// successful copy on a thread of their own.

#include <atomic>
#include <functional>
#include <thread>

#include "installer/cerror.h"
#include "installer/integration/deferred_actions.h"

namespace installer {

// Runs every program of the first run list, then every one of the second, in the order
// queued, each with its folder as the current folder and waited for without limit. A
// program that cannot be started is reported through the context's prompter ("Can not
// execute " + the command line, warning icon) and the run goes on with the next.
void runExternalPrograms(DeferredActions& list, IntegrationContext& context);

struct ProgramsThreadHooks {
    std::function<void()> started;   // on the thread, first (the windows disable the main one)
    std::function<void()> finished;  // on the thread, last (enable it, post "programs done")
};

// Starts the external-programs thread. `running` is true while it runs: a cancel request is
// then refused with "You can not terminate installation at this moment.". Whatever the run
// raises goes into `status` (which otherwise keeps its value). The prompter and the hooks
// are called on the new thread; the list and the context must outlive it.
std::thread startProgramsThread(DeferredActions& list, IntegrationContext& context,
                                StatusSlot& status, std::atomic<bool>& running,
                                ProgramsThreadHooks hooks = {});

}  // namespace installer

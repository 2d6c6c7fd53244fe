#include "installer/integration/external_programs.h"

#include <new>

#include "installer/messages.h"

namespace installer {

void ExternalProgram::perform(IntegrationContext& context) {
    started = context.sys.runAndWait(commandLine, folder);
    if (!started) {
        context.prompter.message(std::string(msg::kCanNotExecute) + commandLine, context.caption,
                                 Icon::Warning, Buttons::Ok);
    }
}

void runExternalPrograms(DeferredActions& list, IntegrationContext& context) {
    for (auto* run : {&list.firstRun, &list.secondRun}) {
        for (auto& program : *run) {
            program.perform(context);
        }
    }
}

std::thread startProgramsThread(DeferredActions& list, IntegrationContext& context,
                                StatusSlot& status, std::atomic<bool>& running,
                                ProgramsThreadHooks hooks) {
    running = true;
    return std::thread([&list, &context, &status, &running, hooks = std::move(hooks)] {
        try {
            if (hooks.started) {
                hooks.started();
            }
            runExternalPrograms(list, context);
        } catch (const CError& e) {
            status.store(e);
        } catch (const std::bad_alloc&) {
            status.store(CError(CError::kMemory));
        } catch (...) {
            status.store(CError(CError::kCannotExecute, "INSTELLO"));
        }
        running = false;
        if (hooks.finished) {
            hooks.finished();
        }
    });
}

}  // namespace installer

// Component programs: any bytes run as a program either complete or raise a CError; after
// the rollback the machine is as before.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_machine.h"
#include "installer/component_program.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Machine machine;
    machine.write("C/DIST/P.QKP", std::string(reinterpret_cast<const char*>(data), size));
    auto job = machine.job();
    try {
        job->prepare();
        installer::ComponentProgram program(*machine.sys, "C:\\DIST\\P.QKP");
        installer::executeComponentProgram(*job, program);
    } catch (const installer::CError&) {
    }
    job->rollBack();
    machine.checkClean();
    return 0;
}

// Package streams: any bytes unpack or raise a CError, never write outside the install path,
// and roll back to nothing.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_machine.h"
#include "installer/package.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static fuzz::Machine machine;
    // The input is split over two volumes at its first byte's position.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = size > 1 ? static_cast<unsigned char>(bytes[0]) % size : 0;
    machine.write("C/DIST/IN.001", bytes.substr(0, cut));
    machine.write("C/DIST/IN.002", bytes.substr(cut));
    auto job = machine.job();
    try {
        job->prepare();
        installer::unpackPackage(*job, "C:\\DIST\\IN", "C:\\INST\\");
    } catch (const installer::CError&) {
    }
    job->rollBack();
    machine.checkClean();
    return 0;
}

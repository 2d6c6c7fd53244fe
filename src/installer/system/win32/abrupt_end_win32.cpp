#include "installer/system/abrupt_end.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdlib>

namespace installer::system {

void endProcessAbruptly() {
    TerminateProcess(GetCurrentProcess(), 137);
    std::_Exit(137);  // not reached
}

}  // namespace installer::system

#include "installer/system/this_machine.h"

namespace installer::system {

std::unique_ptr<System> openThisMachine() {
    return nullptr;
}

}  // namespace installer::system

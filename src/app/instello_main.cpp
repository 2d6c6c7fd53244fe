#include <iostream>

int main() {
    std::cerr << "Usage: instello --unattended --root SANDBOX [options]\n"
                 "The installer is not yet available in this build.\n";
    return 2;
}

#include "app/display_check.h"

#include <netdb.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace app {
namespace {

bool connectUnix(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    ::close(fd);
    return ok;
}

bool connectTcp(const std::string& host, int port) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
        return false;
    }
    bool ok = false;
    for (addrinfo* a = found; a != nullptr && !ok; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype, a->ai_protocol);
        if (fd >= 0) {
            ok = ::connect(fd, a->ai_addr, a->ai_addrlen) == 0;
            ::close(fd);
        }
    }
    ::freeaddrinfo(found);
    return ok;
}

// DISPLAY is [host]:number[.screen]; an empty host or "unix" is the local socket.
bool xDisplayReachable(std::string_view display) {
    const auto colon = display.rfind(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    std::string host(display.substr(0, colon));
    std::string number(display.substr(colon + 1));
    if (const auto dot = number.find('.'); dot != std::string::npos) {
        number.resize(dot);
    }
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    if (!host.empty() && host[0] == '/') {
        return connectUnix(std::string(display.substr(0, colon)));  // launchd-style path
    }
    if (host.empty() || host == "unix") {
        return connectUnix("/tmp/.X11-unix/X" + number) ||
               connectUnix(std::string("@/tmp/.X11-unix/X") + number);
    }
    return connectTcp(host, 6000 + std::atoi(number.c_str()));
}

}  // namespace

bool displayAvailable(std::string& why) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform != nullptr && *platform != '\0') {
        return true;
    }
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland != nullptr && *wayland != '\0') {
        return true;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        why = "no display is set (DISPLAY and WAYLAND_DISPLAY are empty)";
        return false;
    }
    if (!xDisplayReachable(display)) {
        why = std::string("the display ") + display + " does not answer";
        return false;
    }
    return true;
}

std::string noDisplayAdvice(const std::string& program, const std::string& why) {
    return program + ": cannot open a window: " + why +
           ".\n"
           "Run it from a desktop session, or under a virtual display:\n"
           "    xvfb-run -a " +
           program +
           " [DOCUMENT.mtf]\n"
           "or without any screen, for scripted checks:\n"
           "    QT_QPA_PLATFORM=offscreen " +
           program + " [DOCUMENT.mtf]\n";
}

}  // namespace app

#include "ui/standard_streams.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace ui {

void useBinaryStandardStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace ui

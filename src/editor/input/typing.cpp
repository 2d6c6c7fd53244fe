#include "editor/input/typing.h"

namespace editor {

char plainTypedChar(char c) {
    const auto code = static_cast<unsigned char>(c);
    return (code == 127 || code == 166) ? '_' : c;
}

}  // namespace editor

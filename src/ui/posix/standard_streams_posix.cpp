#include "ui/standard_streams.h"

namespace ui {

void useBinaryStandardStreams() {}

}  // namespace ui

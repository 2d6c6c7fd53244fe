#include "app/instello_windows.h"

WindowOptions parseWindowOptions(const std::vector<std::string>& args, bool removal) {
    WindowOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (removal && args[i] == "--uninstall") {
            continue;
        }
        if (args[i] == "--root" && hasValue) {
            options.root = args[++i];
        } else if (args[i] == "--source" && hasValue) {
            options.source = args[++i];
        } else if (removal && args[i] == "--product" && hasValue) {
            options.product = args[++i];
        } else {
            options.unknown = args[i];
            return options;
        }
    }
    return options;
}

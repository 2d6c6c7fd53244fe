#include "editor/exercise_name.h"

#include "editor/file_io.h"

#include <string_view>
#include <system_error>
#include <vector>

namespace editor {
namespace {

constexpr std::string_view kPrefix = "esercizio";
constexpr std::string_view kExtension = ".mtf";
constexpr std::string_view kFirst = "esercizio000.mtf";

bool matches(std::string_view name) {
    return name.size() >= kPrefix.size() + kExtension.size() && name.starts_with(kPrefix) &&
           name.ends_with(kExtension);
}

}  // namespace

std::string nextExerciseName(std::span<const std::string> fileNames) {
    const std::string* greatest = nullptr;
    for (const std::string& name : fileNames) {
        if (matches(name) && (greatest == nullptr || name > *greatest)) {
            greatest = &name;
        }
    }
    if (greatest == nullptr || *greatest == "esercizio.mtf") {
        return std::string(kFirst);
    }
    const std::string_view rest =
        std::string_view(*greatest).substr(0, greatest->size() - kExtension.size());
    const std::string_view digits = rest.substr(rest.size() - 3);
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return *greatest;  // not a numbered exercise: proposed as it is
        }
        number = number * 10 + (c - '0');
    }
    const std::string next = "000" + std::to_string(number + 1);
    std::string result(rest.substr(0, rest.size() - 3));
    result += next.substr(next.size() - 3);
    result += kExtension;
    return result;
}

std::string nextExerciseName(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(systemPath(directory), ec), end; !ec && it != end;
         it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    return nextExerciseName(names);
}

}  // namespace editor

// tattilo-cli speak: the words the speech reader would say for one Braille line, and with
// --wav the same words synthesised into a WAVE file.

#include <fstream>
#include <string>

#include "app/cli/cli.h"
#include "speech/engine.h"
#include "speech/messages.h"
#include "speech/rendering.h"
#include "speech/speech_reader.h"
#include "speech/wave_file.h"

namespace cli {
namespace {

constexpr std::string_view kSpeakUsage =
    "Usage: tattilo-cli speak [--mode MODE] [--rate N] [--wav OUT.wav | --lines [--threads N]]\n"
    "                         [--engine-text] [FILE]\n"
    "\n"
    "Reads one line of ASCII braille cells from FILE (or standard input) and prints the\n"
    "Italian words the speech reader hands to the speech engine for it, as code page 1252\n"
    "bytes with no line end. Prints nothing when nothing would be said.\n"
    "\n"
    "  --mode MODE   all   the whole line, with a diagnostic of unbalanced signs (default)\n"
    "                key   the cell typed last, in its context\n"
    "                last  the cell the caret moved onto\n"
    "                canc  the cell deleted\n"
    "                error the text itself, unrendered\n"
    "                none  the last sign, as announcements are read\n"
    "  --rate N      speed of mode all, 0 to 250 (default 50; the settings use 30 to 90)\n"
    "  --wav OUT     also synthesise the words into OUT, a 16-bit mono WAVE file\n"
    "  --lines       one Braille line per input line: the words of each on one output line,\n"
    "                in order\n"
    "  --threads N   with --lines, say the lines on N threads (1 to 16; default one per\n"
    "                processor, four at most); the output is the same\n"
    "  --engine-text print instead the text the speech engine reads, one piece of synthesis\n"
    "                a line, in the engine's encoding (UTF-8 for espeak-ng)\n"
    "\n"
    "A line end at the end of the input is ignored; more than one line is refused.\n";

int speak(std::span<const std::string> args, Io& io) {
    Arguments a(args, {"--mode", "--rate", "--wav", "--threads"}, {"--lines", "--engine-text"});
    if (!a.ok()) {
        io.err << "tattilo-cli speak: " << a.error() << '\n';
        return kUsage;
    }
    std::string mode = a.value("--mode").value_or(std::string(speech::kModeAll));
    if (mode == "none") {
        mode.clear();
    } else if (mode != speech::kModeAll && mode != speech::kModeKey && mode != speech::kModeLast &&
               mode != speech::kModeCanc && mode != speech::kModeError) {
        io.err << "tattilo-cli speak: unknown mode '" << mode
               << "' (all, key, last, canc, error or none)\n";
        return kUsage;
    }
    const std::optional<int> rate = a.integer("--rate", speech::kDefaultSpeed, 0, 250);
    const std::optional<int> threads = a.integer("--threads", 0, 1, 16);
    if (!rate || !threads) {
        io.err << "tattilo-cli speak: " << a.error() << '\n';
        return kUsage;
    }
    if (a.positional().size() > 1) {
        io.err << "tattilo-cli speak: one input file at most\n";
        return kUsage;
    }
    const std::string path = a.positional().empty() ? std::string() : a.positional()[0];
    if (a.flag("--lines")) {
        if (a.value("--wav") || a.flag("--engine-text")) {
            io.err << "tattilo-cli speak: --lines goes with neither --wav nor --engine-text\n";
            return kUsage;
        }
        return convertLines(
            path, io,
            [&mode](std::string_view line, std::string&) {
                return std::optional<std::string>(speech::wordsFor(mode, line));
            },
            static_cast<std::size_t>(*threads));
    }
    if (a.value("--threads")) {
        io.err << "tattilo-cli speak: --threads goes with --lines\n";
        return kUsage;
    }
    std::optional<std::string> input = readInput(path, io);
    if (!input) {
        return kFailed;
    }
    std::string line = std::move(*input);
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
    }
    if (line.find('\n') != std::string::npos) {
        io.err << "tattilo-cli speak: the input holds more than one line\n";
        return kFailed;
    }

    const speech::Request request{"", mode, std::to_string(*rate), line};
    if (a.flag("--engine-text")) {
        const auto pieces = speech::engineInput(speech::spokenFor(mode, line));
        if (!pieces) {
            io.err << "tattilo-cli speak: " << speech::messages::kEngineFailed << '\n';
            return kFailed;
        }
        for (const std::string& piece : *pieces) {
            io.out << piece << '\n';
        }
    } else {
        io.out << speech::wordsFor(request.mode, request.text);
    }

    const std::optional<std::string> wav = a.value("--wav");
    if (!wav) {
        return kOk;
    }
    std::unique_ptr<speech::Engine> engine =
        speech::createEngine({.programDirectory = {}, .output = speech::AudioOutput::Memory});
    if (const auto message = speech::prepareEngine(engine.get())) {
        io.err << "tattilo-cli speak: " << *message << '\n';
        return kFailed;
    }
    speech::SpeechReader reader(std::move(engine), nullptr);
    reader.submit(request);
    if (!reader.engine()->synchronize()) {
        io.err << "tattilo-cli speak: the speech engine stopped before the end\n";
        return kFailed;
    }
    const std::string bytes = speech::waveBytes(reader.engine()->takeAudio());
    std::ofstream file(*wav, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) {
        io.err << "tattilo-cli speak: cannot write " << *wav << '\n';
        return kFailed;
    }
    return kOk;
}

}  // namespace

extern const Command kSpeakCommand{
    "speak", "the Italian words spoken for a Braille line; --wav synthesises them", kSpeakUsage,
    speak};

}  // namespace cli

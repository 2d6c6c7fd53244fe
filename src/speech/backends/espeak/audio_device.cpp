#include "speech/backends/espeak/audio_device.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <system_error>

namespace speech {
namespace {

// The libpcaudio interface (its header, pcaudiolib/audio.h, declares these).
constexpr int kFormatS16LE = 2;
using CreateFn = void* (*)(const char* device, const char* application, const char* description);
using OpenFn = int (*)(void* object, int format, std::uint32_t rate, std::uint8_t channels);
using CloseFn = void (*)(void* object);
using DestroyFn = void (*)(void* object);
using WriteFn = int (*)(void* object, const void* data, std::size_t bytes);
using FlushFn = int (*)(void* object);

// ALSA reports errors through a handler that prints to standard error by default.
using AlsaErrorHandler = void (*)(const char* file, int line, const char* function, int err,
                                  const char* fmt, ...);
using AlsaSetHandlerFn = int (*)(AlsaErrorHandler handler);

extern "C" void quietAlsaError(const char*, int, const char*, int, const char*, ...) {}

bool pathExists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::exists(p, ec);
}

}  // namespace

struct AudioDevice::Api {
    CreateFn create = nullptr;
    OpenFn open = nullptr;
    CloseFn close = nullptr;
    DestroyFn destroy = nullptr;
    WriteFn write = nullptr;
    FlushFn flush = nullptr;
};

bool soundOutputPresent() {
    if (const char* server = std::getenv("PULSE_SERVER"); server != nullptr && *server != '\0') {
        return true;
    }
    std::filesystem::path runtime;
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir != nullptr && *dir != '\0') {
        runtime = dir;
    } else {
        runtime = "/run/user/" + std::to_string(getuid());
    }
    if (pathExists(runtime / "pulse" / "native") || pathExists(runtime / "pipewire-0")) {
        return true;
    }
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/dev/snd", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("pcmC", 0) == 0 && !name.empty() && name.back() == 'p') {
            return true;
        }
    }
    return false;
}

namespace {

// Loaded once and never unloaded: the sound server client may keep threads of its own.
const AudioDevice::Api* loadApi() {
    static const AudioDevice::Api* api = []() -> const AudioDevice::Api* {
        void* lib = dlopen("libpcaudio.so.0", RTLD_NOW | RTLD_LOCAL);
        if (lib == nullptr) {
            return nullptr;
        }
        static AudioDevice::Api a;
        a.create = reinterpret_cast<CreateFn>(dlsym(lib, "create_audio_device_object"));
        a.open = reinterpret_cast<OpenFn>(dlsym(lib, "audio_object_open"));
        a.close = reinterpret_cast<CloseFn>(dlsym(lib, "audio_object_close"));
        a.destroy = reinterpret_cast<DestroyFn>(dlsym(lib, "audio_object_destroy"));
        a.write = reinterpret_cast<WriteFn>(dlsym(lib, "audio_object_write"));
        a.flush = reinterpret_cast<FlushFn>(dlsym(lib, "audio_object_flush"));
        if (!a.create || !a.open || !a.close || !a.destroy || !a.write || !a.flush) {
            return nullptr;
        }
        // libpcaudio brings ALSA in; keep its error messages off the terminal.
        if (void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD)) {
            if (auto set =
                    reinterpret_cast<AlsaSetHandlerFn>(dlsym(alsa, "snd_lib_error_set_handler"))) {
                set(quietAlsaError);
            }
            dlclose(alsa);  // drops only the reference taken here
        }
        return &a;
    }();
    return api;
}

}  // namespace

std::unique_ptr<AudioDevice> AudioDevice::open(int sampleRate) {
    if (sampleRate <= 0 || !soundOutputPresent()) {
        return nullptr;
    }
    const Api* api = loadApi();
    if (api == nullptr) {
        return nullptr;
    }
    void* object = api->create(nullptr, "tattilo", "Sintesi vocale");
    if (object == nullptr) {
        return nullptr;
    }
    if (api->open(object, kFormatS16LE, static_cast<std::uint32_t>(sampleRate), 1) != 0) {
        api->destroy(object);
        return nullptr;
    }
    return std::unique_ptr<AudioDevice>(new AudioDevice(api, object));
}

AudioDevice::~AudioDevice() {
    api_->close(object_);
    api_->destroy(object_);
}

bool AudioDevice::write(const std::int16_t* samples, std::size_t count) {
    return api_->write(object_, samples, count * sizeof(std::int16_t)) == 0;
}

void AudioDevice::flush() {
    api_->flush(object_);
}

}  // namespace speech

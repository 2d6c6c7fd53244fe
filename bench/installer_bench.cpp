// Installing, as the installation thread does it (the journal on disk, the register, dates,
// 64 KiB chunks):
//   BM_UnpackPackage      a 100 MiB package of mixed text and binary members; reports the
//                         throughput of uncompressed bytes, the process's peak resident
//                         memory, and `unzip`'s throughput on the same members written as a
//                         ZIP archive with the ratio of the two (unzip_ratio > 1: faster than
//                         unzip);
//   BM_InstallSmallFiles  one package of N small files (1 000, 10 000 and 50 000) into one
//                         folder by a component program, committed; reports the time per file
//                         (us_per_file, which must stay flat as N grows) and, for the same
//                         members as a ZIP archive, the time `unzip` takes per file
//                         (unzip_us_per_file) and the ratio of the two (vs_unzip: our time
//                         over unzip's).
//
// INSTELLO_BENCH_DIR chooses where the packages and the output go (default: the temporary
// folder).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "installer/component_list.h"
#include "installer/install_job.h"
#include "installer/journal/recovery.h"
#include "installer/package.h"
#include "installer/system/sandbox/sandbox_system.h"

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMembers = 200;
constexpr std::size_t kMemberSize = 512 * 1024;  // 200 x 512 KiB = 100 MiB

class QuietSink : public installer::ProgressSink {
public:
    int askLocation(std::string&, std::string_view) override { return kSkip; }
    void setTotal(std::int64_t) override {}
    void beginComponent(std::string_view, std::int64_t) override {}
    void advance(std::uint64_t) override {}
    void endComponent() override {}
    void showCopying(std::string_view) override {}
    void showCreating(std::string_view) override {}
    void showStatus(std::string_view) override {}
    void warning(std::string_view) override {}
    bool isCancelRequested() override { return false; }
    void configureHyphenation(std::string_view) override {}
};

// Text members are Italian-looking words, binary members noise with some structure.
std::string memberData(std::size_t index) {
    static const char* words[] = {"somma ",      "frazione ",     "radice ",   "quadrata ",
                                  "numeratore ", "denominatore ", "= ",        "+ ",
                                  "\r\n",        "parentesi ",    "1 ",        "2 ",
                                  "37 ",         "potenza ",      "Esercizio "};
    std::string data;
    data.reserve(kMemberSize);
    std::uint32_t x = static_cast<std::uint32_t>(index) * 2654435761u + 1;
    if (index % 2 == 0) {
        while (data.size() < kMemberSize) {
            x = x * 1103515245 + 12345;
            data += words[(x >> 16) % 15];
        }
    } else {
        while (data.size() < kMemberSize) {
            x = x * 1103515245 + 12345;
            const char c = static_cast<char>(x >> 24);
            data += c;
            if ((x >> 8) % 16 == 0) {
                data.append(8, c);  // some runs
            }
        }
    }
    data.resize(kMemberSize);
    return data;
}

void put16(std::string& out, std::uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// Appends one member (local header, name, data) to `out`; deflated when `deflated`.
void appendMember(std::string& out, const std::string& name, const std::string& data, bool deflated,
                  std::string* centralEntry, std::uint32_t offset) {
    std::string packed = data;
    if (deflated) {
        packed.assign(compressBound(static_cast<uLong>(data.size())), '\0');
        z_stream z{};
        deflateInit2(&z, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        z.avail_in = static_cast<uInt>(data.size());
        z.next_out = reinterpret_cast<Bytef*>(packed.data());
        z.avail_out = static_cast<uInt>(packed.size());
        deflate(&z, Z_FINISH);
        packed.resize(z.total_out);
        deflateEnd(&z);
    }
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
    std::string header;
    put32(header, 0x04034B50);
    put16(header, 20);
    put16(header, 0);
    put16(header, deflated ? 8 : 0);
    put16(header, 0x4C20);
    put16(header, 0x5462);
    put32(header, crc);
    put32(header, static_cast<std::uint32_t>(packed.size()));
    put32(header, static_cast<std::uint32_t>(data.size()));
    put16(header, static_cast<std::uint32_t>(name.size()));
    put16(header, 0);
    out += header + name + packed;
    if (centralEntry) {
        std::string entry;
        put32(entry, 0x02014B50);
        put16(entry, 20);
        entry += header.substr(4, 26);  // version needed .. extra length
        put16(entry, 0);                // comment
        put16(entry, 0);                // disk
        put16(entry, 0);                // internal attributes
        put32(entry, 0);                // external attributes
        put32(entry, offset);
        *centralEntry = entry + name;
    }
}

// The end of a ZIP archive's central directory of `count` entries.
std::string zipEnd(std::size_t count, std::size_t centralSize, std::size_t centralOffset) {
    std::string end;
    put32(end, 0x06054B50);
    put16(end, 0);
    put16(end, 0);
    put16(end, static_cast<std::uint32_t>(count));
    put16(end, static_cast<std::uint32_t>(count));
    put32(end, static_cast<std::uint32_t>(centralSize));
    put32(end, static_cast<std::uint32_t>(centralOffset));
    put16(end, 0);
    return end;
}

struct Fixture {
    fs::path base;
    std::unique_ptr<installer::system::SandboxSystem> sys;
    std::uint64_t bytes = 0;

    Fixture() {
        const char* dir = std::getenv("INSTELLO_BENCH_DIR");
        base = fs::path(dir ? dir : fs::temp_directory_path().string()) /
               ("instello-bench-" + std::to_string(getpid()));
        fs::create_directories(base / "C" / "DIST");
        sys = std::make_unique<installer::system::SandboxSystem>(base);
        std::ofstream package(base / "C" / "DIST" / "BIG.001", std::ios::binary);
        std::ofstream zip(base / "BIG.zip", std::ios::binary | std::ios::trunc);
        std::string central;
        std::uint32_t zipOffset = 0;
        package << ">" << '\3' << "OUT";
        for (std::size_t i = 0; i < kMembers; ++i) {
            const std::string data = memberData(i);
            const std::string name = "member" + std::to_string(i) + (i % 2 ? ".bin" : ".txt");
            std::string stored;
            std::string entry;
            appendMember(stored, name, data, true, &entry, zipOffset);
            package << 'V' << stored;
            zip << stored;
            central += entry;
            zipOffset += static_cast<std::uint32_t>(stored.size());
            bytes += data.size();
        }
        zip << central << zipEnd(kMembers, central.size(), zipOffset);
    }

    ~Fixture() {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
};

installer::JobSettings benchSettings(installer::system::System& sys,
                                     const std::string& installPath = "C:\\INST\\") {
    installer::JobSettings settings;
    settings.productName = "Bench";
    settings.journalPath = installer::journalPath(sys);
    settings.installPath = installPath;
    settings.distributionPath = "C:\\DIST\\";
    return settings;
}

// Seconds `unzip` takes to extract the archive into `out`; 0 when it cannot run.
double unzipOnce(const fs::path& zip, const fs::path& out) {
    const std::string command =
        "unzip -q -o \"" + zip.string() + "\" -d \"" + out.string() + "\" > /dev/null 2>&1";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        return 0;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return took.count();
}

// Seconds `unzip` takes for the archive, the best of three runs; 0 when it cannot run.
double unzipSeconds(const fs::path& zip, const fs::path& out) {
    double best = 0;
    for (int i = 0; i < 3; ++i) {
        fs::remove_all(out);
        const double took = unzipOnce(zip, out);
        if (took == 0) {
            return 0;
        }
        best = i == 0 ? took : std::min(best, took);
    }
    fs::remove_all(out);
    return best;
}

void BM_UnpackPackage(benchmark::State& state) {
    static Fixture fixture;
    QuietSink sink;
    installer::ComponentList none;
    double best = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        installer::InstallJob job(*fixture.sys, sink, none, benchSettings(*fixture.sys), nullptr);
        job.prepare();
        installer::unpackPackage(job, "C:\\DIST\\BIG", "C:\\INST\\");
        job.installed().save();
        job.commit();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = best == 0 ? took.count() : std::min(best, took.count());
        state.PauseTiming();
        fs::remove_all(fixture.base / "C" / "INST");
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * fixture.bytes));
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    const double unzip = unzipSeconds(fixture.base / "BIG.zip", fixture.base / "unzipped");
    if (unzip > 0) {
        const double mib = static_cast<double>(fixture.bytes) / (1024.0 * 1024.0);
        state.counters["unzip_MiB/s"] = mib / unzip;
        state.counters["unzip_ratio"] = unzip / best;
    }
}
BENCHMARK(BM_UnpackPackage)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// A distribution of `count` files of about 300 bytes in one folder, in one package, and the
// same members as a ZIP archive for `unzip`.
struct SmallFiles {
    fs::path base;
    std::unique_ptr<installer::system::SandboxSystem> sys;
    installer::ComponentList components;

    explicit SmallFiles(std::size_t count) {
        const char* dir = std::getenv("INSTELLO_BENCH_DIR");
        base = fs::path(dir ? dir : fs::temp_directory_path().string()) /
               ("instello-small-" + std::to_string(getpid()) + "-" + std::to_string(count));
        fs::create_directories(base / "C" / "DIST");
        sys = std::make_unique<installer::system::SandboxSystem>(base);
        std::string package = ">" + std::string(1, '\3') + "OUT";
        std::string zip;
        std::string central;
        for (std::size_t i = 0; i < count; ++i) {
            std::string data = "Esercizio " + std::to_string(i) + ": ";
            while (data.size() < 300) {
                data += std::to_string(i * 7919 % 1000) + " + " + std::to_string(i % 97) + " = ";
            }
            const std::string name = "file" + std::to_string(i) + ".txt";
            package += 'V';
            appendMember(package, name, data, true, nullptr, 0);
            std::string entry;
            appendMember(zip, name, data, true, &entry, static_cast<std::uint32_t>(zip.size()));
            central += entry;
        }
        std::ofstream(base / "C" / "DIST" / "SMALL.001", std::ios::binary) << package;
        std::ofstream(base / "SMALL.zip", std::ios::binary)
            << zip << central << zipEnd(count, central.size(), zip.size());
        std::ofstream program(base / "C" / "DIST" / "SMALL.QKP", std::ios::binary);
        program << "QKIP" << '\x49' << '\x05' << "SMALL" << '\xFF';
        auto component = std::make_unique<installer::Component>();
        component->name = "Small";
        component->programFile = "SMALL.QKP";
        components.push_back(std::move(component));
    }
    ~SmallFiles() {
        std::error_code ec;
        fs::remove_all(base, ec);
    }
};

// Each round installs into a folder of its own, and unzip extracts into one of its own right
// after it; nothing is deleted before the program ends. (On ext4, creating files soon after
// many were deleted costs several times more, in the kernel, than creating them elsewhere:
// deleting between rounds, or between the sizes, would measure that.)
void BM_InstallSmallFiles(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    static std::map<std::size_t, std::unique_ptr<SmallFiles>> kept;  // deleted at the end
    SmallFiles& files = *(kept[count] = std::make_unique<SmallFiles>(count));
    QuietSink sink;
    double best = 0;
    double unzip = 0;
    int round = 0;
    for (auto _ : state) {
        const std::string target = "C:\\INST" + std::to_string(++round) + "\\";
        const auto start = std::chrono::steady_clock::now();
        installer::InstallJob job(*files.sys, sink, files.components,
                                  benchSettings(*files.sys, target), nullptr);
        job.run();
        job.commit();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = best == 0 ? took.count() : std::min(best, took.count());
        state.PauseTiming();
        const double extracted =
            unzipOnce(files.base / "SMALL.zip", files.base / ("unzipped" + std::to_string(round)));
        unzip = unzip == 0 ? extracted : std::min(unzip, extracted);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
    state.counters["us_per_file"] = best / static_cast<double>(count) * 1e6;
    if (unzip > 0) {
        state.counters["unzip_us_per_file"] = unzip / static_cast<double>(count) * 1e6;
        state.counters["vs_unzip"] = best / unzip;
    }
}
BENCHMARK(BM_InstallSmallFiles)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

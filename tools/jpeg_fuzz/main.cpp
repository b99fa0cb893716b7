// jpeg_fuzz - loads many damaged JPEG files, each in a child process of its
// own, and sorts the outcomes: loaded (status 0), refused by libjpeg
// (status 1, its message on standard error) or a fault (any other ending,
// or a sanitizer report on standard error). Half the cases are damaged at
// random, half where the decoder reads the file's structure. Faulty files
// are kept in the output folder for study. Exit status 0 when no case was a
// fault. The slowest case and the largest memory a case used are printed:
// no file, whatever its header claims, may hold the decoder for long.
//
// Usage: jpeg_fuzz [CASES [SEED [OUTDIR]]]   (defaults 2000, 1, jpeg_fuzz_out)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "graphics.h"
#include "jpeg_mutator.h"
#include "jpeg_writer.h"

namespace {

struct Outcome {
    int status = -1;
    double seconds = 0;
    long peakKb = 0;
    std::string errors;  // what the child wrote on standard error
};

// Loads `path` in a child process and collects how it ended.
Outcome LoadInChild(const std::string& path) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return {};
    std::fflush(stdout);  // a child that exits would write our pending output again
    pid_t child = fork();
    if (child == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], 2);
        image img(path, IK_JPEG);
        image copy(img);
        _exit(copy.Width() == img.Width() ? 0 : 2);
    }
    close(pipeEnds[1]);
    Outcome outcome;
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0) outcome.errors.append(buffer, static_cast<size_t>(n));
    close(pipeEnds[0]);
    int status = 0;
    rusage usage = {};
    if (child > 0 && wait4(child, &status, 0, &usage) == child) {
        outcome.status = status;
        outcome.peakKb = usage.ru_maxrss;
    }
    return outcome;
}

std::vector<unsigned char> BaseFile(const std::string& folder, int which) {
    const int w = 64, h = 48;
    std::vector<unsigned char> rgb(w * h * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>((i * 37) ^ (i / 97));
    std::string path = folder + "/base.jpg";
    bool ok = false;
    switch (which) {
    case 0: ok = jpeg_writer::WriteRgb(path, w, h, rgb.data(), 70); break;
    case 1: ok = jpeg_writer::WriteRgbProgressive(path, w, h, rgb.data(), 70); break;
    case 2: ok = jpeg_writer::WriteGray(path, w, h, rgb.data(), 70); break;
    default: ok = jpeg_writer::WriteInks(path, 32, 24, rgb.data(), 70, jpeg_writer::InkSpace::CMYK); break;
    }
    return ok ? jpeg_writer::ReadBytes(path) : std::vector<unsigned char>{};
}

}  // namespace

int main(int argc, char** argv) {
    int cases = argc > 1 ? std::atoi(argv[1]) : 2000;
    unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    std::string folder = argc > 3 ? argv[3] : "jpeg_fuzz_out";
    std::filesystem::create_directories(folder);

    std::vector<std::vector<unsigned char>> bases;
    for (int i = 0; i < 4; ++i) {
        bases.push_back(BaseFile(folder, i));
        if (bases.back().empty()) {
            std::fprintf(stderr, "jpeg_fuzz: cannot write base files in %s\n", folder.c_str());
            return 2;
        }
    }

    // Headers that claim huge pictures in a file of a few hundred bytes:
    // each must end at once (status 1), before the decoder allocates.
    {
        std::vector<unsigned char> rgb(16 * 16 * 3, 128);
        const struct {
            unsigned width, height;
            bool progressive;
        } huge[] = {{65500, 65500, false}, {30000, 30000, false}, {65500, 4100, false}, {65500, 65500, true}};
        for (const auto& h : huge) {
            std::string path = folder + "/huge.jpg";
            bool written = h.progressive ? jpeg_writer::WriteRgbProgressive(path, 16, 16, rgb.data(), 75)
                                         : jpeg_writer::WriteRgb(path, 16, 16, rgb.data(), 75);
            std::vector<unsigned char> bytes = jpeg_writer::ReadBytes(path);
            if (!written || !jpeg_mutator::SetFrameSize(bytes, h.width, h.height)) return 2;
            jpeg_writer::WriteBytes(path, bytes);
            auto caseStart = std::chrono::steady_clock::now();
            Outcome outcome = LoadInChild(path);
            double caseSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - caseStart).count();
            std::printf("%u x %u header%s (%zu bytes): status %d in %.3f s, peak %ld KB\n", h.width, h.height,
                        h.progressive ? ", progressive" : "", bytes.size(),
                        WIFEXITED(outcome.status) ? WEXITSTATUS(outcome.status) : -1, caseSeconds, outcome.peakKb);
        }
    }

    std::mt19937 rng(seed);
    int loaded = 0, refused = 0, faults = 0;
    double slowest = 0;
    long largestKb = 0;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < cases; ++i) {
        // Every other case is damaged where the decoder reads the file's
        // structure (sizes, sampling, tables, scans, cuts at markers).
        const std::vector<unsigned char>& base = bases[(i / 2) % bases.size()];
        std::vector<unsigned char> damaged =
            i % 2 ? jpeg_mutator::MutateStructure(base, rng) : jpeg_mutator::Mutate(base, rng);
        std::string path = folder + "/case.jpg";
        jpeg_writer::WriteBytes(path, damaged);
        auto caseStart = std::chrono::steady_clock::now();
        Outcome outcome = LoadInChild(path);
        outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - caseStart).count();
        if (outcome.seconds > slowest) slowest = outcome.seconds;
        if (outcome.peakKb > largestKb) largestKb = outcome.peakKb;
        bool sanitizer = outcome.errors.find("Sanitizer") != std::string::npos ||
                         outcome.errors.find("runtime error") != std::string::npos;
        if (!sanitizer && WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 0) {
            ++loaded;
        } else if (!sanitizer && WIFEXITED(outcome.status) && WEXITSTATUS(outcome.status) == 1) {
            ++refused;
        } else {
            ++faults;
            std::string kept = folder + "/fault_" + std::to_string(i) + ".jpg";
            jpeg_writer::WriteBytes(kept, damaged);
            std::fprintf(stderr, "case %d: fault (status %d), kept as %s\n%s", i, outcome.status, kept.c_str(),
                         outcome.errors.c_str());
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%d cases (seed %u) in %.1f s: %d loaded, %d refused with status 1, %d faults\n", cases, seed,
                seconds, loaded, refused, faults);
    std::printf("slowest case %.2f s, largest case %ld KB\n", slowest, largestKb);
    return faults == 0 ? 0 : 1;
}

// gdi_diff: the differential tester of our GDI against the Windows build's.
//
//   gdi_diff --serve
//       Reads scenes (scene.h's text form), one a line, from standard input
//       and answers each with "ok W H\n" and W * H pixels (4 bytes each,
//       0x00RRGGBB little-endian) drawn by this build's GDI. The Windows
//       build runs this under Wine: one process draws every scene of a run.
//
//   gdi_diff --server "COMMAND" [--seed S] [--scenes N | --seconds T]
//            [--kinds LETTERS] [--out DIR] [--keep-going [--cases K]]
//       (Linux build) Draws random scenes from seeds S, S+1, ... with our GDI
//       and with the server COMMAND (e.g. "scripts/wine-run.sh
//       build/windows/tools/gdi_diff/gdi_diff.exe --serve") and compares
//       them pixel by pixel. The first differing scene is minimised to a
//       smallest scene that still differs and written to DIR as a case
//       (gdi_diff_case_SEED.txt with the scene line, and ours/reference/
//       diff pictures). --keep-going goes on after it and counts the
//       differing scenes by the kind of their first differing shape, and
//       --cases K minimises the first K differing scenes; the others are
//       listed a line each with their first differing shape. A scene that
//       differs in a fresh server too is tested against blame.h's rules;
//       one whose difference is the reference's fault is listed and counted
//       apart, by the rule it breaks.
//       Exit status 0 when no scene differs, 1 when one does, 2 on failure.
//
//   gdi_diff --print [--seed S] [--scenes N] [--kinds LETTERS]
//       Prints the scene lines of those seeds (a server's input).
//
//   gdi_diff --server "COMMAND" --replay FILE   (or --scene "LINE")
//       Draws one scene both ways and writes its pictures to DIR.
//
//   gdi_diff --server "COMMAND" --batch FILE
//       Compares every scene of FILE (one a line) and prints the number of
//       differing pixels of each (probe scenes); --batch-cases also writes
//       each differing one to DIR as a case.
//
//   gdi_diff --server "COMMAND" --measures
//       Compares the text measures of both builds (scene.h's TextMeasures):
//       per face, style and size, whether the cell heights agree and how
//       many of the characters' advances differ.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "blame.h"
#include "scene.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <map>
#include <sstream>

#include "generate.h"
#endif

namespace {

#ifdef _WIN32
// A scene that crashes the GDI ends the server at once (no debugger), so
// the driver notices and starts a new one.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS*) {
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

int Serve() {
#ifdef _WIN32
    SetUnhandledExceptionFilter(EndOnCrash);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    std::string line;
    int c;
    while (true) {
        line.clear();
        while ((c = std::getchar()) != EOF && c != '\n') {
            if (c != '\r') line.push_back(static_cast<char>(c));
        }
        if (c == EOF && line.empty()) return 0;
        if (line == "measures") {
            // The text measures, as many bytes as the head line says.
            std::string table = gdi_diff::TextMeasures();
            std::printf("text %zu\n", table.size());
            std::fwrite(table.data(), 1, table.size(), stdout);
            std::fflush(stdout);
            continue;
        }
        gdi_diff::Scene scene;
        if (!gdi_diff::Parse(line, scene)) {
            std::fputs("error\n", stdout);
            std::fflush(stdout);
            continue;
        }
        gdi_diff::Picture pic = gdi_diff::Render(scene);
        std::printf("ok %d %d\n", pic.width, pic.height);
        for (uint32_t p : pic.pixels) {
            unsigned char b[4] = {static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 8),
                                  static_cast<unsigned char>(p >> 16), 0};
            std::fwrite(b, 1, 4, stdout);
        }
        std::fflush(stdout);
    }
}

#ifndef _WIN32

// The reference server: a child process (in a process group of its own)
// fed through pipes, started again when it crashes or stops answering.
class Server {
public:
    explicit Server(std::string command) : command_(std::move(command)) {}
    ~Server() { Stop(); }
    bool Start() {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return false;
        pid_ = fork();
        if (pid_ < 0) return false;
        if (pid_ == 0) {
            setpgid(0, 0);
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[0]);
            close(in[1]);
            close(out[0]);
            close(out[1]);
            execl("/bin/sh", "sh", "-c", command_.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        setpgid(pid_, pid_);
        close(in[0]);
        close(out[1]);
        to_ = fdopen(in[1], "w");
        from_ = out[0];
        first_ = true;
        return to_ != nullptr;
    }
    void Stop() {
        if (to_) std::fclose(to_);
        if (from_ >= 0) close(from_);
        to_ = nullptr;
        from_ = -1;
        if (pid_ > 0) {
            kill(-pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
    // False when the server could not draw the scene (it is then restarted).
    bool Draw(const gdi_diff::Scene& scene, gdi_diff::Picture& pic) {
        if (pid_ < 0 && !Start()) return false;
        if (TryDraw(scene, pic)) return true;
        Stop();
        return false;
    }

    // The server's text measures (Serve's "measures" request).
    bool Measures(std::string& table) {
        if (pid_ < 0 && !Start()) return false;
        signal(SIGPIPE, SIG_IGN);
        if (std::fputs("measures\n", to_) < 0 || std::fflush(to_) != 0) return false;
        std::string head;
        unsigned char c;
        while (ReadAll(&c, 1) && c != '\n') head.push_back(static_cast<char>(c));
        first_ = false;
        size_t n = 0;
        if (std::sscanf(head.c_str(), "text %zu", &n) != 1) return false;
        table.assign(n, '\0');
        return ReadAll(reinterpret_cast<unsigned char*>(&table[0]), n);
    }

private:
    // Reads exactly n bytes, waiting at most the server's answer time.
    bool ReadAll(unsigned char* p, size_t n) {
        while (n > 0) {
            pollfd fd{from_, POLLIN, 0};
            if (poll(&fd, 1, first_ ? 60000 : 20000) <= 0) return false;
            ssize_t got = read(from_, p, n);
            if (got <= 0) return false;
            p += got;
            n -= static_cast<size_t>(got);
        }
        return true;
    }
    bool TryDraw(const gdi_diff::Scene& scene, gdi_diff::Picture& pic) {
        std::string line = gdi_diff::Format(scene) + "\n";
        signal(SIGPIPE, SIG_IGN);
        if (std::fputs(line.c_str(), to_) < 0 || std::fflush(to_) != 0) return false;
        std::string head;
        unsigned char c;
        while (ReadAll(&c, 1) && c != '\n') head.push_back(static_cast<char>(c));
        first_ = false;
        if (std::sscanf(head.c_str(), "ok %d %d", &pic.width, &pic.height) != 2) return false;
        std::vector<unsigned char> raw(static_cast<size_t>(pic.width) * pic.height * 4);
        if (!ReadAll(raw.data(), raw.size())) return false;
        pic.pixels.assign(static_cast<size_t>(pic.width) * pic.height, 0);
        for (size_t i = 0; i < pic.pixels.size(); ++i) {
            const unsigned char* b = &raw[4 * i];
            pic.pixels[i] = b[0] | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16);
        }
        return true;
    }

    std::string command_;
    pid_t pid_ = -1;
    FILE* to_ = nullptr;
    int from_ = -1;
    bool first_ = true;
};

struct Failure {};  // the server could not draw a scene

// Pixels that differ between our picture of `scene` and the server's.
size_t Differences(Server& server, const gdi_diff::Scene& scene, gdi_diff::Picture* ours = nullptr,
                   gdi_diff::Picture* theirs = nullptr) {
    gdi_diff::Picture a = gdi_diff::Render(scene), b;
    if (!server.Draw(scene, b)) throw Failure{};
    size_t n = 0;
    if (a.width != b.width || a.height != b.height) return a.pixels.size() + 1;
    for (size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
    if (ours) *ours = a;
    if (theirs) *theirs = b;
    return n;
}

// True when the pictures differ; a scene the reference cannot draw is
// taken as not differing.
bool Differs(Server& server, const gdi_diff::Scene& scene) {
    try {
        return Differences(server, scene) > 0;
    } catch (const Failure&) {
        return false;
    }
}

// Regions of many rows and widths: drawn between two drawings of the same
// scene, they leave memory that a GDI reading what it never wrote shows.
const char* const kStir = "96 72 ; G 6 0 0 0 13 1 2 3 2 93 70 37 61 ; G 6 0 0 0 13 1 1 20 5 71 66";

gdi_diff::Scene Stir() {
    gdi_diff::Scene stir;
    gdi_diff::Parse(kStir, stir);
    return stir;
}

// The index of the first shape whose drawing makes the pictures differ,
// drawn as they come and again after the stir (a shape the reference
// draws wrongly only now and then is found all the same).
size_t FirstDifferingShape(Server& server, const gdi_diff::Scene& scene) {
    gdi_diff::Scene prefix = scene, stir = Stir();
    gdi_diff::Picture stirred;
    for (size_t k = 1; k <= scene.shapes.size(); ++k) {
        prefix.shapes.assign(scene.shapes.begin(), scene.shapes.begin() + static_cast<long>(k));
        if (Differs(server, prefix)) return k - 1;
        server.Draw(stir, stirred);
        if (Differs(server, prefix)) return k - 1;
    }
    return scene.shapes.size() - 1;
}

// What a difference that a fresh server draws too is put down to.
enum class Blame {
    kOurs,
    kReferenceOutsideFigures,
    kReferenceRegionUneven,
    kReferenceUnsteady,
    kReferenceAfterOthers,
    kBlameKinds
};
const char* const kBlameText[] = {"", "the reference drew outside the figures",
                                  "the reference's region is not symmetric",
                                  "the reference drew the same figures differently another time",
                                  "the reference drew the figure differently after other figures"};

// Tests the first differing shape of `scene` against blame.h's rules: a
// rule the reference breaks while our picture keeps it puts the difference
// down to the reference; a rule ours breaks is our fault.
Blame BlameFor(Server& server, const gdi_diff::Scene& scene, size_t first) {
    const int w = scene.width, h = scene.height;
    const gdi_diff::Shape& shape = scene.shapes[first];
    gdi_diff::Scene before = scene, after = scene;
    before.shapes.resize(first);
    after.shapes.resize(first + 1);
    std::vector<gdi_diff::PixelBox> reach = {gdi_diff::Reach(shape, w, h)}, all;
    for (const gdi_diff::Shape& s : after.shapes) all.push_back(gdi_diff::Reach(s, w, h));
    gdi_diff::Picture white = gdi_diff::Render(gdi_diff::Scene{w, h, {}});
    gdi_diff::Picture ours0 = gdi_diff::Render(before), ours1 = gdi_diff::Render(after);
    // The figure on a picture of what was drawn before it.
    gdi_diff::Shape background;
    background.kind = gdi_diff::kPicture;
    background.v.assign(ours0.pixels.begin(), ours0.pixels.end());
    gdi_diff::Scene onSame{w, h, {background, shape}};
    if (gdi_diff::ChangesOutside(ours0, ours1, reach) || gdi_diff::ChangesOutside(white, ours1, all) ||
        !gdi_diff::Symmetric(shape, ours0, ours1) || gdi_diff::Render(onSame).pixels != ours1.pixels) {
        return Blame::kOurs;
    }

    // The reference draws the figures in a fresh server, again after the
    // stir, and then without the last one.
    gdi_diff::Picture ref0, ref1, again;
    server.Stop();
    if (!server.Draw(after, ref1) || !server.Draw(Stir(), again) || !server.Draw(after, again) ||
        !server.Draw(before, ref0)) {
        throw Failure{};
    }
    for (const gdi_diff::Picture* ref : {&ref1, &again}) {
        if (gdi_diff::ChangesOutside(ours0, *ref, reach) || gdi_diff::ChangesOutside(white, *ref, all)) {
            return Blame::kReferenceOutsideFigures;
        }
        if (!gdi_diff::Symmetric(shape, ours0, *ref)) return Blame::kReferenceRegionUneven;
    }
    // Drawn as ours now, or differently each time, or what came before the
    // figure is now drawn differently.
    if (again.pixels != ref1.pixels || ref1.pixels == ours1.pixels || ref0.pixels != ours0.pixels) {
        return Blame::kReferenceUnsteady;
    }
    // A figure drawn on the same pixels is drawn the same: here on our
    // picture of the figures before it, by a fresh server that has drawn
    // nothing else.
    gdi_diff::Picture refOnSame;
    server.Stop();
    if (!server.Draw(onSame, refOnSame)) throw Failure{};
    if (refOnSame.pixels == ours1.pixels) return Blame::kReferenceAfterOthers;
    return Blame::kOurs;
}

// Greedy minimisation: take the first smaller variant that still differs,
// until none does (or the budget of tries is spent).
gdi_diff::Scene Minimise(Server& server, gdi_diff::Scene scene) {
    // Shapes after the first differing one are not needed.
    size_t first = FirstDifferingShape(server, scene);
    scene.shapes.resize(first + 1);
    int budget = 5000;
    bool progress = true;
    while (progress && budget > 0) {
        progress = false;
        for (const gdi_diff::Scene& s : gdi_diff::Smaller(scene)) {
            if (--budget <= 0) break;
            if (Differs(server, s)) {
                scene = s;
                progress = true;
                break;
            }
        }
    }
    return scene;
}

// Prints per face, style and size whether both builds give text the same
// cell height and advances; true when every line agrees.
bool CompareMeasures(Server& server) {
    std::string theirs;
    if (!server.Measures(theirs)) throw Failure{};
    std::istringstream a(gdi_diff::TextMeasures()), b(theirs);
    std::string la, lb;
    long lines = 0, exact = 0;
    std::printf("face size style: cell height ours/reference, advances that differ (of %d), ours-reference\n",
                gdi_diff::kLastTextChar - gdi_diff::kFirstTextChar + 1);
    while (std::getline(a, la) && std::getline(b, lb)) {
        la.erase(la.find_last_not_of("\r") + 1);
        lb.erase(lb.find_last_not_of("\r") + 1);
        std::string key = la.substr(0, la.find(':'));
        std::istringstream fa(la.substr(la.find(':') + 1)), fb(lb.substr(lb.find(':') + 1));
        int ha = 0, hb = 0;
        std::string bar;
        fa >> ha >> bar;
        fb >> hb >> bar;
        int differ = 0, wa, wb;
        std::string detail;
        for (int c = gdi_diff::kFirstTextChar; fa >> wa && fb >> wb; ++c) {
            if (wa == wb) continue;
            ++differ;
            if (differ <= 6) detail += " '" + std::string(1, static_cast<char>(c)) + "' " + std::to_string(wa - wb);
        }
        ++lines;
        bool same = ha == hb && differ == 0;
        exact += same;
        std::printf("%-10s %3d/%-3d %3d%s%s\n", key.c_str(), ha, hb, differ, detail.c_str(), same ? "" : "  *");
    }
    std::printf("%ld of %ld faces, styles and sizes measure the same\n", exact, lines);
    return exact == lines;
}

void WriteCase(Server& server, const gdi_diff::Scene& scene, const std::string& dir, const std::string& name,
               const std::string& note) {
    gdi_diff::Picture ours, theirs;
    size_t n = Differences(server, scene, &ours, &theirs);
    std::string base = dir + "/" + name;
    std::ofstream(base + ".txt") << "# " << note << "; " << n << " pixels differ\n" << gdi_diff::Format(scene) << "\n";
    gdi_diff::WritePpm(base + "_ours.ppm", ours);
    gdi_diff::WritePpm(base + "_reference.ppm", theirs);
    // Differing pixels: magenta where we drew more, cyan elsewhere; the
    // reference faded in the background.
    gdi_diff::Picture diff = theirs;
    for (size_t i = 0; i < diff.pixels.size(); ++i) {
        uint32_t p = theirs.pixels[i];
        if (ours.pixels[i] != p) {
            diff.pixels[i] = p == 0xFFFFFF ? 0xFF00FF : 0x00C0C0;
        } else {
            uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            diff.pixels[i] = ((192 + r / 4) << 16) | ((192 + g / 4) << 8) | (192 + b / 4);
        }
    }
    gdi_diff::WritePpm(base + "_diff.ppm", diff);
    std::printf("case written: %s.txt (%zu pixels differ)\n  %s\n", base.c_str(), n, gdi_diff::Format(scene).c_str());
}

int Drive(int argc, char** argv) {
    std::string command, kinds, out = ".", replay, sceneLine, batch;
    uint64_t seed = 1;
    long scenes = -1;
    double seconds = -1;
    bool keepGoing = false, print = false;
    long cases = 1;
    bool writeBatchCases = false, measures = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (a == "--server")
            command = next();
        else if (a == "--seed")
            seed = std::strtoull(next().c_str(), nullptr, 10);
        else if (a == "--scenes")
            scenes = std::strtol(next().c_str(), nullptr, 10);
        else if (a == "--seconds")
            seconds = std::strtod(next().c_str(), nullptr);
        else if (a == "--kinds")
            kinds = next();
        else if (a == "--out")
            out = next();
        else if (a == "--replay")
            replay = next();
        else if (a == "--scene")
            sceneLine = next();
        else if (a == "--batch")
            batch = next();
        else if (a == "--measures")
            measures = true;
        else if (a == "--batch-cases")
            writeBatchCases = true;
        else if (a == "--keep-going")
            keepGoing = true;
        else if (a == "--print")
            print = true;
        else if (a == "--cases")
            cases = std::strtol(next().c_str(), nullptr, 10);
        else {
            std::fprintf(stderr, "unknown argument %s (see the top of tools/gdi_diff/main.cpp)\n", a.c_str());
            return 2;
        }
    }
    if (print) {
        for (long k = 0; k < (scenes < 0 ? 100 : scenes); ++k) {
            std::printf("%s\n", gdi_diff::Format(gdi_diff::Generate(seed + static_cast<uint64_t>(k), kinds)).c_str());
        }
        return 0;
    }
    if (command.empty()) {
        std::fprintf(stderr, "--server COMMAND is needed\n");
        return 2;
    }
    if (scenes < 0 && seconds < 0) scenes = 100;
    Server server(command);
    if (!server.Start()) {
        std::fprintf(stderr, "cannot start %s\n", command.c_str());
        return 2;
    }
    long refused = 0;   // scenes the reference crashed on
    long unstable = 0;  // scenes that differ only in a server that drew others before
    try {
        if (measures) return CompareMeasures(server) ? 0 : 1;
        if (!batch.empty()) {
            // One scene a line; prints the differing pixels of each.
            std::ifstream in(batch);
            std::string line;
            long differ = 0, total = 0;
            while (std::getline(in, line)) {
                gdi_diff::Scene scene;
                if (line.empty() || line[0] == '#' || !gdi_diff::Parse(line, scene)) continue;
                size_t n = 0;
                try {
                    n = Differences(server, scene);
                } catch (const Failure&) {
                    std::printf("failed\t%s\n", line.c_str());
                    continue;
                }
                ++total;
                differ += n > 0;
                std::printf("%zu\t%s\n", n, line.c_str());
                if (n > 0 && writeBatchCases)
                    WriteCase(server, scene, out, "gdi_diff_batch_" + std::to_string(total), "from " + batch);
            }
            std::printf("%ld of %ld scenes differ\n", differ, total);
            return differ == 0 ? 0 : 1;
        }
        if (!replay.empty() || !sceneLine.empty()) {
            if (!replay.empty()) {
                std::ifstream in(replay);
                std::string line;
                while (std::getline(in, line)) {
                    if (!line.empty() && line[0] != '#') sceneLine = line;
                }
            }
            gdi_diff::Scene scene;
            if (!gdi_diff::Parse(sceneLine, scene)) {
                std::fprintf(stderr, "not a scene: %s\n", sceneLine.c_str());
                return 2;
            }
            WriteCase(server, scene, out, "gdi_diff_replay", "replayed");
            return Differences(server, scene) == 0 ? 0 : 1;
        }
        auto start = std::chrono::steady_clock::now();
        auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
        long done = 0, differing = 0;
        std::map<char, long> byKind;
        long blamed[static_cast<int>(Blame::kBlameKinds)] = {};
        long written = 0;
        for (uint64_t s = seed;; ++s) {
            if (scenes >= 0 && done >= scenes) break;
            if (seconds >= 0 && elapsed() >= seconds) break;
            gdi_diff::Scene scene = gdi_diff::Generate(s, kinds);
            ++done;
            size_t first = 0;
            Blame blame = Blame::kOurs;
            try {
                if (Differences(server, scene) == 0) continue;
                // Wine's GDI now and then keeps traces of earlier scenes
                // (stray pixels of an earlier shape): a difference counts
                // only when a fresh server draws it too.
                server.Stop();
                if (Differences(server, scene) == 0) {
                    if (++unstable <= 5) {
                        std::printf("seed %llu: differs only after earlier scenes: %s\n",
                                    static_cast<unsigned long long>(s), gdi_diff::Format(scene).c_str());
                    }
                    continue;
                }
                first = FirstDifferingShape(server, scene);
                blame = BlameFor(server, scene, first);
            } catch (const Failure&) {
                if (++refused <= 5) {
                    std::printf("seed %llu: the reference could not draw %s\n", static_cast<unsigned long long>(s),
                                gdi_diff::Format(scene).c_str());
                }
                continue;
            }
            if (blame != Blame::kOurs) {
                if (++blamed[static_cast<int>(blame)] <= 3) {
                    std::printf("seed %llu: %s (shape %zu, %c): %s\n", static_cast<unsigned long long>(s),
                                kBlameText[static_cast<int>(blame)], first + 1, scene.shapes[first].kind,
                                gdi_diff::Format(scene).c_str());
                }
                continue;
            }
            ++differing;
            ++byKind[scene.shapes[first].kind];
            if (written < cases) {
                double t = elapsed();
                std::printf("seed %llu differs: %s\n", static_cast<unsigned long long>(s),
                            gdi_diff::Format(scene).c_str());
                WriteCase(server, Minimise(server, scene), out, "gdi_diff_case_" + std::to_string(s),
                          "minimised from seed " + std::to_string(s) + " kinds " +
                              (kinds.empty() ? gdi_diff::kAllKinds : kinds));
                ++written;
                start += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    std::chrono::duration<double>(elapsed() - t));  // minimising does not count
            } else {
                std::printf("seed %llu differs from shape %zu (%c) on: %s\n", static_cast<unsigned long long>(s),
                            first + 1, scene.shapes[first].kind, gdi_diff::Format(scene).c_str());
            }
            if (!keepGoing) break;
        }
        double t = elapsed();
        std::printf(
            "%ld scenes from seed %llu (kinds %s): %ld differ, %ld not drawn by the reference, %ld differ "
            "only after earlier scenes; %.1f s, %.2f ms a scene\n",
            done, static_cast<unsigned long long>(seed), kinds.empty() ? gdi_diff::kAllKinds : kinds.c_str(), differing,
            refused, unstable, t, done ? 1000.0 * t / static_cast<double>(done) : 0.0);
        for (auto& [kind, n] : byKind) std::printf("  first differing shape %c: %ld scenes\n", kind, n);
        for (int b = 1; b < static_cast<int>(Blame::kBlameKinds); ++b)
            std::printf("  not counted, %s: %ld scenes\n", kBlameText[b], blamed[b]);
        return differing == 0 ? 0 : 1;
    } catch (const Failure&) {
        std::fprintf(stderr, "the server stopped answering\n");
        return 2;
    }
}

#endif

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--serve") == 0) return Serve();
#ifdef _WIN32
    std::fprintf(stderr, "usage: gdi_diff --serve\n");
    return 2;
#else
    return Drive(argc, argv);
#endif
}

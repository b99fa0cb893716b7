// soak - runs the game loop or a loop over the library's calls for many
// frames or rounds and watches what the process holds: memory, open
// descriptors (Linux) or kernel handles (Windows), and on Windows the live
// GDI objects. Prints them at the start and every twentieth of the run.
//
// The first half of the run is warm-up: the library fills its caches there
// (glyphs of every font the loop uses, the decoder's and the display's own
// buffers), and memory rises by megabytes before it settles. What counts
// is the second half: the straight line that fits its eleven figures best
// (least squares) must not rise by more than a small margin over it
// (memory: 4 MB; descriptors and handles: 4; GDI objects: 4), or the tool
// fails with exit status 1. A fitted line rather than the highest figure
// less the first: one figure off the trend (the allocator giving memory
// back, then taking it again) moves it little, while anything held a round
// or a frame raises it by the whole second half's worth.
//
// Memory on Linux is the anonymous resident memory plus any swapped out:
// what the process wrote itself, without pages of the files it maps, which
// a busy system may drop and read again. On Windows it is the working set.
//
//     soak game [FRAMES]    the real frame loop, scripted paddle, no pacing
//                           (default 100000); a game that ends starts again
//     soak api [ROUNDS]     pens, brushes, fonts, text, picture loads, draws,
//                           captures and copies (default 100000)
//     --leak                (after the count) leaks on purpose, to show the
//                           check catches it: 64 KB of memory every frame or
//                           round, a descriptor (Windows: a handle and a
//                           pen) every tenth; the run must end GROWING
//
// Windows counts GDI objects with GetGuiResources; where that gives 0
// (Wine), it counts the process's live entries in the GDI handle table.
// Handles are left out where the count does not follow handles made (Wine).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "game.h"
#include "jpeg_writer.h"
#include "picture_files.h"
#include "random.h"
#include "unpaced.h"

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#include <winternl.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

namespace {

struct Sample {
    long long memoryKb = 0;
    long handles = 0;      // descriptors (Linux) or kernel handles (Windows); -1: not counted
    long gdiObjects = -1;  // Windows only
};

#ifdef _WIN32
// Live GDI objects of this process from the handle table that the system
// maps into every process (found through the process environment block);
// each entry is 24 bytes: the kernel object, the owner's process id (16
// bits), a count, the handle's upper half, the type (0 for a free entry)
// and a user pointer.
long GdiTableCount() {
    const unsigned char* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const unsigned char* table = *reinterpret_cast<const unsigned char* const*>(peb + 0xF8);
    if (table == nullptr) return -1;
    long live = 0;
    for (size_t i = 0; i < 0x10000; ++i) {
        const unsigned char* entry = table + i * 24;
        if (entry[14] != 0) ++live;
    }
    return live;
}

// The GDI count must follow objects made and deleted: ten pens make it ten
// more, and deleting them brings it back. False when it does not.
bool GdiCountFollowsObjects();

// Wine's GetProcessHandleCount gives 0 whatever the process holds: where
// ten more events do not make the count ten more, handles are not counted.
bool countHandles = true;
void CheckHandleCount();

Sample Measure() {
    Sample s;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        s.memoryKb = static_cast<long long>(counters.WorkingSetSize / 1024);
    DWORD handles = 0;
    s.handles = countHandles && GetProcessHandleCount(GetCurrentProcess(), &handles) ? static_cast<long>(handles) : -1;
    s.gdiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    if (s.gdiObjects == 0) s.gdiObjects = GdiTableCount();
    return s;
}
bool GdiCountFollowsObjects() {
    long before = Measure().gdiObjects;
    HPEN pens[10];
    for (HPEN& pen : pens) pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    long during = Measure().gdiObjects;
    for (HPEN pen : pens) DeleteObject(pen);
    long after = Measure().gdiObjects;
    std::printf("GDI objects: %ld, %ld with ten more pens, %ld after deleting them\n", before, during, after);
    return during - before == 10 && after == before;
}
void CheckHandleCount() {
    long before = Measure().handles;
    HANDLE events[10];
    for (HANDLE& event : events) event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    long during = Measure().handles;
    for (HANDLE event : events) CloseHandle(event);
    countHandles = during - before == 10;
    if (!countHandles) std::printf("handles: not counted here (%ld, %ld with ten more events)\n", before, during);
}
#else
bool GdiCountFollowsObjects() { return true; }
void CheckHandleCount() {}

// Anonymous resident memory plus swapped-out memory, from /proc/self/status.
long long MemoryKb() {
    long long total = 0;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            long long kb = 0;
            if (std::sscanf(line, "RssAnon: %lld", &kb) == 1 || std::sscanf(line, "VmSwap: %lld", &kb) == 1)
                total += kb;
        }
        std::fclose(status);
    }
    return total;
}

Sample Measure() {
    Sample s;
    s.memoryKb = MemoryKb();
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (dirent* entry = readdir(fds)) {
            if (entry->d_name[0] != '.') ++s.handles;
        }
        closedir(fds);
        --s.handles;  // the listing's own descriptor
    }
    return s;
}
#endif

void Print(long done, const Sample& s) {
    std::printf("%9ld  memory %8lld KB", done, s.memoryKb);
#ifdef _WIN32
    if (s.handles >= 0) std::printf("  handles %4ld", s.handles);
#else
    std::printf("  descriptors %4ld", s.handles);
#endif
    if (s.gdiObjects >= 0) std::printf("  GDI objects %5ld", s.gdiObjects);
    std::printf("\n");
    std::fflush(stdout);
}

// What a run leaks on purpose with --leak: 64 KB of memory, written so that
// it is resident, every step, and a descriptor or handle (and on Windows a
// pen) every tenth.
bool leakOnPurpose = false;
std::vector<std::unique_ptr<char[]>> leaked;

void Leak(long done) {
    if (!leakOnPurpose) return;
    leaked.emplace_back(new char[64 * 1024]);
    std::memset(leaked.back().get(), static_cast<int>(done), 64 * 1024);
    if (done % 10 != 0) return;
#ifdef _WIN32
    CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreatePen(PS_SOLID, 1, RGB(done & 0xFF, 0, 0));
#else
    dup(1);
#endif
}

// The rise, over the second half of the run, of the straight line that fits
// the second half's figures best (least squares).
double FittedRise(const std::vector<long>& at, const std::vector<double>& figures) {
    size_t n = at.size();
    double meanAt = 0, meanFigure = 0;
    for (size_t i = 0; i < n; ++i) {
        meanAt += static_cast<double>(at[i]) / static_cast<double>(n);
        meanFigure += figures[i] / static_cast<double>(n);
    }
    double products = 0, squares = 0;
    for (size_t i = 0; i < n; ++i) {
        double d = static_cast<double>(at[i]) - meanAt;
        products += d * (figures[i] - meanFigure);
        squares += d * d;
    }
    return squares > 0 ? products / squares * static_cast<double>(at.back() - at.front()) : 0.0;
}

// Runs `step` `total` times, measuring at the start and every twentieth;
// true when no figure's fitted line rises past its margin over the second
// half (see the opening comment).
template <typename Step>
bool Watch(const char* steps, long total, Step step) {
    const int kPoints = 20;
    Sample first = Measure();
    Print(0, first);
    std::vector<long> at;
    std::vector<double> memory, handles, gdi;
    for (long done = 1, point = 1; done <= total; ++done) {
        step(done);
        Leak(done);
        if (static_cast<long long>(done) * kPoints < static_cast<long long>(total) * point && done != total) continue;
        ++point;
        Sample s = Measure();
        Print(done, s);
        if (done * 2 >= total) {
            at.push_back(done);
            memory.push_back(static_cast<double>(s.memoryKb));
            handles.push_back(static_cast<double>(s.handles));
            gdi.push_back(static_cast<double>(s.gdiObjects));
        }
    }
    bool flat = true;
    const char* separator = ": ";
    auto figure = [&flat, &separator](const char* what, const std::vector<long>& when,
                                      const std::vector<double>& figures, double margin, const char* unit) {
        long long rise = std::llround(FittedRise(when, figures));
        bool growing = rise > margin;
        if (growing) flat = false;
        std::printf("%s%s %lld%s%s", separator, what, rise, unit, growing ? " GROWING" : "");
        separator = ", ";
    };
    std::printf("growth after warm-up (the fitted line over %s %ld to %ld)", steps, at.front(), at.back());
    figure("memory", at, memory, 4096, " KB");
#ifdef _WIN32
    if (first.handles >= 0) figure("handles", at, handles, 4, "");
#else
    figure("descriptors", at, handles, 4, "");
#endif
    if (first.gdiObjects >= 0) figure("GDI objects", at, gdi, 4, "");
    std::printf(": %s\n", flat ? "flat" : "GROWING");
    return flat;
}

std::vector<std::string> PictureFolders() {
    return {"", ExecutableFolder(), ExecutableFolder() + "../../game/", ExecutableFolder() + "../game/"};
}

// The paddle goes round the court: left, down, right, up, and diagonals.
const char PaddleScript[] = "4444444422226666666666666666888844444444711933";

bool SoakGame(long frames) {
    image background;
    LoadPictureFile(background, "PictureFiles/background1.jpg", PictureFolders());
    std::ostringstream console;
    long polls = 0;
    GameIo io;
    io.output = &console;
    io.pictureFolders = PictureFolders();
    io.pollKey = [&polls](window&) { return PaddleScript[polls++ % (sizeof PaddleScript - 1)]; };
    io.pause = [](uint32_t) {};

    struct Play {
        window win{1000, 720, 5, 5};
        Game game;
        Play(const image& background, GameIo& io) : game((win.SetWaitOnClose(false), win), background, 1, 4, io) {}
    };
    SeedRandomAt(1);
    auto play = std::make_unique<Play>(background, io);
    return Watch("frames", frames, [&](long) {
        if (play->game.quit) {  // the game ended: the next one, in a new window
            play->win.SetBuffering(false);
            play.reset();
            play = std::make_unique<Play>(background, io);
            console.str("");
        }
        play->game.RunFrame();
        if (console.tellp() > 1 << 20) console.str("");
    });
}

bool SoakApi(long rounds) {
    // A picture of its own, written once and loaded every round.
    std::string path = "soak_picture.jpg";
    std::vector<unsigned char> rgb(64 * 48 * 3);
    for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<unsigned char>(i * 7);
    if (!jpeg_writer::WriteRgb(path, 64, 48, rgb.data(), 80)) {
        std::fprintf(stderr, "soak: cannot write %s\n", path.c_str());
        return false;
    }
    window win(400, 300, 5, 5);
    win.SetWaitOnClose(false);
    win.SetBuffering(true);
    image picture, capture;
    bool ok = Watch("rounds", rounds, [&](long round) {
        int i = static_cast<int>(round % 251);
        win.SetPen(color(i, 255 - i, 7), i % 5);
        win.SetBrush(i / 255.0, 0.5, 1.0 - i / 255.0);
        win.SetFont(8 + i % 30, static_cast<uint16_t>(i % 8), i % 5, i % 2 ? "Arial" : nullptr);
        win.DrawRectangle(i, 10, i + 50, 60, i % 3 ? STYLE_FILLED : STYLE_INVERTED, 0, 0);
        win.DrawEllipse(20, i, 90, i + 40, STYLE_FRAME);
        win.DrawString(5, 5 + i % 200, "Soak round");
        win.DrawNumber(200, 5, static_cast<int32_t>(round));
        int width = 0, height = 0;
        win.GetStringSize(width, height, "measure me");
        picture.Load(path.c_str(), IK_JPEG);
        win.DrawImage(picture, i, 100, -1, -1);
        win.DrawImage(picture, 10, 200, 30 + i % 40, 20);
        win.StoreImage(capture, static_cast<uint32_t>(i % 300), 50, 100, 80);
        image copy(capture);
        copy = picture;
        win.DrawImage(copy, 300, 200, -1, -1);
        (void)win.GetColor(i, i);
        win.UpdateBuffer();
    });
    win.SetBuffering(false);
    std::remove(path.c_str());
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    unpaced::Start();
    std::string mode = argc > 1 ? argv[1] : "";
    long count = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 100000;
    leakOnPurpose = argc > 3 && std::strcmp(argv[3], "--leak") == 0;
    if ((mode != "game" && mode != "api") || count < 20 || argc > (leakOnPurpose ? 4 : 3)) {
        std::fprintf(stderr, "usage: soak game|api [FRAMES-OR-ROUNDS (at least 20)] [--leak]\n");
        return 2;
    }
    CheckHandleCount();
    if (!GdiCountFollowsObjects()) {
        std::fprintf(stderr, "soak: this system's GDI object count does not follow the objects made\n");
        return 1;
    }
    try {
        bool flat = mode == "game" ? SoakGame(count) : SoakApi(count);
        return flat ? 0 : 1;
    } catch (const PictureFileError& failure) {
        std::fprintf(stderr, "soak: no picture file %s\n", failure.fileName.c_str());
    } catch (error code) {
        std::fprintf(stderr, "soak: the graphics library threw error %d\n", static_cast<int>(code));
    }
    return 1;
}

// soak - runs the game loop or a loop over the library's calls for many
// frames or rounds and watches what the process holds: resident memory,
// open descriptors (Linux) or kernel handles (Windows), and on Windows the
// live GDI objects. Prints them at the start and every tenth of the run,
// and fails (exit status 1) when any grew past a small margin over the
// first tenth (memory: 4 MB; descriptors and handles: 4; GDI objects: 4).
//
//     soak game [FRAMES]    the real frame loop, scripted paddle, no pacing
//                           (default 100000); a game that ends starts again
//     soak api [ROUNDS]     pens, brushes, fonts, text, picture loads, draws,
//                           captures and copies (default 100000)
//
// Windows counts GDI objects with GetGuiResources; where that gives 0
// (Wine), it counts the process's live entries in the GDI handle table.
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
    long handles = 0;     // descriptors (Linux) or kernel handles (Windows)
    long gdiObjects = -1; // Windows only
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

Sample Measure() {
    Sample s;
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        s.memoryKb = static_cast<long long>(counters.WorkingSetSize / 1024);
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles)) s.handles = static_cast<long>(handles);
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
#else
bool GdiCountFollowsObjects() { return true; }

Sample Measure() {
    Sample s;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        long long size = 0, resident = 0;
        if (std::fscanf(statm, "%lld %lld", &size, &resident) == 2) s.memoryKb = resident * (sysconf(_SC_PAGESIZE) / 1024);
        std::fclose(statm);
    }
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
    std::printf("%9ld  memory %8lld KB  %s %4ld", done, s.memoryKb,
#ifdef _WIN32
                "handles",
#else
                "descriptors",
#endif
                s.handles);
    if (s.gdiObjects >= 0) std::printf("  GDI objects %5ld", s.gdiObjects);
    std::printf("\n");
    std::fflush(stdout);
}

// Runs `step` `total` times, measuring every tenth; true when nothing grew
// past its margin over the first tenth's figures.
template <typename Step>
bool Watch(long total, Step step) {
    Print(0, Measure());
    long tenth = total / 10 > 0 ? total / 10 : 1;
    Sample base, worst;
    for (long done = 1; done <= total; ++done) {
        step(done);
        if (done % tenth == 0 || done == total) {
            Sample s = Measure();
            Print(done, s);
            if (done == tenth) base = worst = s;
            if (s.memoryKb > worst.memoryKb) worst.memoryKb = s.memoryKb;
            if (s.handles > worst.handles) worst.handles = s.handles;
            if (s.gdiObjects > worst.gdiObjects) worst.gdiObjects = s.gdiObjects;
        }
    }
    bool flat = worst.memoryKb - base.memoryKb <= 4096 && worst.handles - base.handles <= 4 &&
                worst.gdiObjects - base.gdiObjects <= 4;
    std::printf("growth after the first tenth: memory %lld KB, %ld handles or descriptors", worst.memoryKb - base.memoryKb,
                worst.handles - base.handles);
    if (base.gdiObjects >= 0) std::printf(", %ld GDI objects", worst.gdiObjects - base.gdiObjects);
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
    return Watch(frames, [&](long) {
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
    bool ok = Watch(rounds, [&](long round) {
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
    if ((mode != "game" && mode != "api") || count <= 0) {
        std::fprintf(stderr, "usage: soak game|api [FRAMES-OR-ROUNDS]\n");
        return 2;
    }
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

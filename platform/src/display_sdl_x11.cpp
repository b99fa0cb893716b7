// display_sdl_x11.cpp - part of the SDL display backend: what it does with
// X11 itself (display_sdl_x11.h), apart from display_sdl.cpp because the X11
// headers define names (Window, TRUE, FALSE) that clash with the Win32 ones.
//
// Failures. Xlib's own answer to a lost connection (the X server ended or
// was killed) is exit(1), which runs the program's exit handlers and static
// destructors, and those close windows on the dead connection, where SDL
// can wait for ever. Here a lost connection ends the program at once
// instead: standard output is flushed, one line names the display on
// standard error ("graphics: lost the connection to the display :0"), and
// the process exits with status 1 without running anything else. The
// handler is Xlib's, so it serves every connection of the process, GTK's
// print dialog included once it keeps it (printing/gtk_dialog.cpp). A
// child the process forked (SDL shows a message box in one) ends silently:
// the program itself tells.
//
// Another X client may destroy one of our windows (xdotool windowclose,
// xkill). The requests that still name it then fail with BadWindow or
// BadDrawable, which Xlib's default handler turns into exit(1); those
// errors are ignored on every connection (SDL has a second one, for waking
// its own waits), and the destruction itself
// (DestroyNotify, which SDL hands on as a window-manager event) tells the
// backend that the window is gone. SDL waits for the unmapping of a window
// it hides or destroys, which never comes for a window that no longer
// exists: such a window is neither shown nor hidden any more, and before
// SDL destroys it the unmapping it waits for is put in its event queue.
//
// Message boxes. SDL shows one from a child process and waits for it, so
// nothing of the program runs meanwhile. A thread of the backend then
// keeps the windows shown on a connection of its own: it asks for their
// exposures and puts back the pixels SDL keeps for each window (the shown
// picture), and touches nothing else, so that their input stays queued on
// SDL's connection for the program to read afterwards.
#include "display_sdl_x11.h"

#include <SDL_syswm.h>
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xutil.h>
#endif
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace platform {
namespace display {

unsigned long NativeWindowId(uint32_t id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    if (!window) return 0;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info)) return 0;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (info.subsystem == SDL_SYSWM_X11) return static_cast<unsigned long>(info.info.x11.window);
#endif
    return 0;
}

namespace x11 {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

struct Known {
    uint32_t id;        // SDL's
    ::Window xid;       // X11's
    bool gone = false;  // destroyed by another client
};

Display* connection = nullptr;  // SDL's, known from its first window
// Our open windows, and those another client destroyed (requests naming
// them may still be under way when they close).
std::vector<Known> windows;
XErrorHandler previousErrorHandler = nullptr;
pid_t program = 0;  // the process that watches the display

bool IsOurs(XID resource) {
    for (const Known& known : windows)
        if (known.xid == resource) return true;
    return false;
}

int OnLostDisplay(Display* lost) {
    if (getpid() != program) _exit(1);
    // Several connections (SDL's, the message-box thread's, GTK's) can see
    // the loss at once: the first tells and ends the process, the others
    // wait for that end.
    static std::atomic_flag told = ATOMIC_FLAG_INIT;
    if (told.test_and_set())
        for (;;) pause();
    std::fflush(stdout);
    std::fprintf(stderr, "graphics: lost the connection to the display %s\n", lost ? DisplayString(lost) : "");
    _exit(1);
}

int OnError(Display* display, XErrorEvent* error) {
    if ((error->error_code == BadWindow || error->error_code == BadDrawable) && IsOurs(error->resourceid)) return 0;
    return previousErrorHandler ? previousErrorHandler(display, error) : 0;
}

}  // namespace

void WatchDisplay() {
    program = getpid();
    XSetIOErrorHandler(OnLostDisplay);
    XErrorHandler previous = XSetErrorHandler(OnError);
    if (previous != OnError) previousErrorHandler = previous;
}

void NoteOpened(uint32_t id) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    connection = info.info.x11.display;
    windows.push_back(Known{id, info.info.x11.window});
}

void NoteClosing(uint32_t id) {
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if (it->id != id) continue;
        // Gone, or going right now: the request fails (its error ignored).
        XWindowAttributes attributes;
        if (it->gone || !XGetWindowAttributes(connection, it->xid, &attributes)) {
            it->gone = true;
            it->id = 0;  // no SDL window any more
            XEvent unmapped{};
            unmapped.xunmap.type = UnmapNotify;
            unmapped.xunmap.display = connection;
            unmapped.xunmap.event = it->xid;
            unmapped.xunmap.window = it->xid;
            XPutBackEvent(connection, &unmapped);
        } else {
            windows.erase(it);
        }
        return;
    }
}

bool Gone(uint32_t id) {
    for (const Known& known : windows)
        if (known.id == id) return known.gone;
    return false;
}

uint32_t DestroyedWindow(const SDL_SysWMmsg* message) {
    if (!message || message->subsystem != SDL_SYSWM_X11) return 0;
    const XEvent& event = message->msg.x11.event;
    if (event.type != DestroyNotify) return 0;
    for (Known& known : windows) {
        if (known.id && known.xid == event.xdestroywindow.window) {
            known.gone = true;
            return known.id;
        }
    }
    return 0;
}

int ConnectionFd() { return connection ? ConnectionNumber(connection) : -1; }

void SetTitle(uint32_t id, const char* title) {
    SDL_Window* window = SDL_GetWindowFromID(id);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || Gone(id)) return;
    Display* display = info.info.x11.display;
    Atom name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    XChangeProperty(display, info.info.x11.window, name, utf8, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
    XFlush(display);
}

struct WindowsKeptShown::Keeper {
    struct Kept {
        ::Window xid;
        XImage* image;  // over SDL's pixels of the window
        GC gc;
    };
    Display* own = nullptr;
    std::vector<Kept> kept;
    int wake[2] = {-1, -1};  // a byte written ends the thread
    std::thread thread;

    ~Keeper() {
        if (thread.joinable()) {
            ssize_t written = write(wake[1], "", 1);
            (void)written;
            thread.join();
        }
        for (Kept& k : kept) {
            k.image->data = nullptr;  // SDL's
            XDestroyImage(k.image);
            XFreeGC(own, k.gc);
        }
        if (own) XCloseDisplay(own);
        for (int fd : wake)
            if (fd >= 0) close(fd);
    }

    void Serve() {
        pollfd watched[2] = {{ConnectionNumber(own), POLLIN, 0}, {wake[0], POLLIN, 0}};
        for (;;) {
            while (XPending(own)) {
                XEvent event;
                XNextEvent(own, &event);
                if (event.type != Expose) continue;
                const XExposeEvent& e = event.xexpose;
                for (Kept& k : kept) {
                    if (k.xid != e.window || e.x >= k.image->width || e.y >= k.image->height) continue;
                    XPutImage(own, k.xid, k.gc, k.image, e.x, e.y, e.x, e.y,
                              static_cast<unsigned>(std::min(e.width, k.image->width - e.x)),
                              static_cast<unsigned>(std::min(e.height, k.image->height - e.y)));
                }
            }
            XFlush(own);
            if (poll(watched, 2, -1) < 0 && errno != EINTR) return;
            if (watched[1].revents) return;
        }
    }
};

WindowsKeptShown::WindowsKeptShown() {
    if (!connection) return;
    auto keeper = std::make_unique<Keeper>();
    // Everything but the waiting is done here, before SDL forks its child.
    keeper->own = XOpenDisplay(DisplayString(connection));
    if (!keeper->own) return;
    const uint32_t one = 1;
    const bool littleEndian = *reinterpret_cast<const unsigned char*>(&one) == 1;
    for (const Known& known : windows) {
        SDL_Window* window = known.id && !known.gone ? SDL_GetWindowFromID(known.id) : nullptr;
        if (!window || !(SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN)) continue;
        SDL_Surface* pixels = SDL_GetWindowSurface(window);
        if (!pixels || pixels->format->format != SDL_PIXELFORMAT_RGB888 || SDL_MUSTLOCK(pixels)) continue;
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(keeper->own, known.xid, &attributes) || attributes.depth != 24 ||
            attributes.visual->red_mask != 0xFF0000 || attributes.visual->green_mask != 0xFF00 ||
            attributes.visual->blue_mask != 0xFF)
            continue;
        XImage* image = XCreateImage(keeper->own, attributes.visual, 24, ZPixmap, 0, static_cast<char*>(pixels->pixels),
                                     static_cast<unsigned>(pixels->w), static_cast<unsigned>(pixels->h), 32,
                                     pixels->pitch);
        if (!image) continue;
        image->byte_order = littleEndian ? LSBFirst : MSBFirst;  // the pixels' own
        XSelectInput(keeper->own, known.xid, ExposureMask);
        keeper->kept.push_back(Keeper::Kept{known.xid, image, XCreateGC(keeper->own, known.xid, 0, nullptr)});
    }
    XFlush(keeper->own);
    if (keeper->kept.empty() || pipe2(keeper->wake, O_CLOEXEC) != 0) return;
    Keeper* k = keeper.get();
    keeper->thread = std::thread([k] { k->Serve(); });
    keeper_ = std::move(keeper);
}

WindowsKeptShown::~WindowsKeptShown() = default;

std::string WhyUnreachable(const char* name) {
    // Xlib gives no reason of its own: the display's name and its local
    // socket tell the usual ones apart.
    const std::string display = name != nullptr ? name : "";
    const size_t colon = display.rfind(':');
    if (colon == std::string::npos || colon + 1 >= display.size() ||
        std::strchr("0123456789", display[colon + 1]) == nullptr)
        return "not a display's name, which reads host:number, e.g. :0";
    if (Display* opened = XOpenDisplay(display.c_str())) {
        XCloseDisplay(opened);
        return "its X server answers, but SDL could not use it";
    }
    const std::string host = display.substr(0, colon);
    if (!host.empty() && host != "unix")
        return "no X server answers at " + host + " or it refuses this program, as over SSH without X11 forwarding";
    // A local display: its socket, which a server that ended may leave.
    const size_t dot = display.find('.', colon);
    const std::string path = "/tmp/.X11-unix/X" + display.substr(colon + 1, dot == std::string::npos ? dot : dot - colon - 1);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const bool listening =
        socketFd >= 0 && connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (socketFd >= 0) close(socketFd);
    if (!listening) return "no X server runs there";
    return "its X server refuses this program, which XAUTHORITY or xhost must let in";
}

#else

std::string WhyUnreachable(const char*) { return "SDL was built without X11"; }

void WatchDisplay() {}
void NoteOpened(uint32_t) {}
void NoteClosing(uint32_t) {}
bool Gone(uint32_t) { return false; }
uint32_t DestroyedWindow(const SDL_SysWMmsg*) { return 0; }
int ConnectionFd() { return -1; }
void SetTitle(uint32_t, const char*) {}
struct WindowsKeptShown::Keeper {};
WindowsKeptShown::WindowsKeptShown() {}
WindowsKeptShown::~WindowsKeptShown() = default;

#endif

}  // namespace x11
}  // namespace display
}  // namespace platform

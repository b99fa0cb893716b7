// diagnostics.h - warnings for beginners: one line on standard error, the
// first time each kind of suspicious call happens at a place in the
// program, saying what happened and what to write instead. They never
// change what a program draws, prints on standard output or returns, and
// GRAPHICS_WARNINGS=0 turns them off.
//
// A place in the program is the return address of the operation the
// program called: the outermost operation of the library sets it (Call),
// so that an operation another one uses inside (DrawNumber draws with
// DrawString) is told by the name and the place the program wrote. The
// colour overloads of graphics.h that sort whole numbers from fractions are
// templates the program compiles; they are kept out of line, so that they
// too return to the program's call. (A call that the compiler turned into a
// tail call returns where the function holding it was called from, which is
// then the place.) A loop on a window its user closed is told once for that
// window.
#ifndef GRAPHICS_DIAGNOSTICS_H
#define GRAPHICS_DIAGNOSTICS_H

#include <cstdint>

#include "graphics_internal.h"  // windows.h before graphics.h, which takes MB_RIGHT back

// The return address of the function this is written in (a web build
// cannot tell it: there one place stands for all).
#if (defined(__GNUC__) || defined(__clang__)) && !defined(__EMSCRIPTEN__)
#define KIVA_CALLER() __builtin_return_address(0)
#else
#define KIVA_CALLER() nullptr
#endif

namespace graphics_diagnostics {

// The operation the program called and where it returns to, while it runs
// (diagnostics.cpp); null between operations.
extern const char* callName;
extern const void* callSite;

// The operation the program called and where it returns to, for as long as
// it runs; an operation that another one runs inside keeps the outer one's.
class Call {
public:
    Call(const char* name, const void* caller) : outermost(callName == nullptr) {
        if (!outermost) return;
        callName = name;
        callSite = caller;
    }
    ~Call() {
        if (!outermost) return;
        callName = nullptr;
        callSite = nullptr;
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

private:
    bool outermost;
};

// The fraction forms of SetPen and SetBrush (`width` < 0 for SetBrush):
// a fraction outside 0.0 to 1.0 is told.
void CheckFractions(const char* call, double red, double green, double blue, int width, const void* caller);

// A shape, line, point or text about to be drawn inside the box (left, top)
// to (right, bottom): told when it would be white on white. `brush` says
// whether the brush fills it (STYLE_FILLED).
void CheckVisible(window& w, bool brush, int32_t left, int32_t top, int32_t right, int32_t bottom);
// Whether CheckVisible could tell anything: the pen (and for `brush` the
// brush) is still the white the library set. Cheap; a caller that must
// measure its box first asks this before.
bool MayBeInvisible(const window& w, bool brush);

// UpdateBuffer with buffering off.
void CheckUpdate(const window& w);

// A pixel read at (x, y).
void CheckPixel(const window& w, int32_t x, int32_t y);

// A frame or a poll begun on a window its user has closed, by a program
// that has not asked IsOpen since: told when the same place calls again,
// that is when a loop that does not look at IsOpen comes round.
void CheckClosed(const window& w);

// The window is being destroyed: what was noted about it goes.
void Forget(const window& w);

}  // namespace graphics_diagnostics

#endif

// The frame benchmark: the program's real frame (drawFrame and the buffer
// swap) in a hidden 1024 x 768 window for a few thousand frames each while
// idle, while mixing and while playing back a solve, beside a bare
// clear-and-swap in the same window. For each it reports frames a second,
// main-thread CPU per frame and heap allocations per frame. Allocations are
// counted by this process's own malloc family, which the GL driver and every
// other library call as well. Frame pacing is off.
//
//   frame_bench [--frames N] [--dump DIR]
// --dump writes the picture of a few chosen frames to DIR as PPM files (the
// HUD's clock and frame rate read a fixed frame clock, so the pictures of two
// builds can be compared byte for byte).
#include "app/frame.h"
#include "app/frame_controller.h"
#include "app/frame_draw.h"
#include "app/hud_font.h"
#include "app/keys.h"
#include "app/window.h"
#include "model/cube.h"
#include "model/moves.h"
#include "solve/solver.h"
#include "app/frame_pacing.h"

#include <SDL.h>
#include <GL/gl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

// ---- counting the malloc family ---------------------------------------------

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace {
std::atomic<unsigned long long> allocations{0};
}

extern "C" {
void* malloc(size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
void* calloc(size_t n, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(p, size);
}
void* memalign(size_t alignment, size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(size_t alignment, size_t size) {
    return memalign(alignment, size);
}
int posix_memalign(void** out, size_t alignment, size_t size) {
    void* p = memalign(alignment, size);
    if (p == nullptr) return 12; // ENOMEM
    *out = p;
    return 0;
}
void free(void* p) {
    __libc_free(p);
}
}

namespace {

double threadCpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
double wallMs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The HUD's clock: 16 ms a frame, so that its lines are the same in every run.
unsigned fakeTick = 0;
unsigned fakeTicks() {
    return fakeTick;
}

SDL_Window* window = nullptr;
const char* dumpDir = nullptr;

void dumpPicture(const char* name) {
    if (dumpDir == nullptr) return;
    static unsigned char rgb[768][1024 * 3];
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 1024, 768, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    char path[512];
    std::snprintf(path, sizeof path, "%s/%s.ppm", dumpDir, name);
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) return;
    std::fprintf(f, "P6 1024 768 255\n");
    for (int y = 767; y >= 0; --y) std::fwrite(rgb[y], 1, sizeof rgb[y], f);
    std::fclose(f);
}

// One real frame, as the loop draws it.
void realFrame() {
    fakeTick += 16;
    drawFrame();
    SDL_GL_SwapWindow(window);
}

struct Totals {
    int frames = 0;
    double wall = 0, cpu = 0;
    unsigned long long allocs = 0;
};

// Runs `frame` once, timed and counted into `t`.
template <typename F> void timed(Totals& t, F frame) {
    const unsigned long long a0 = allocations.load();
    const double w0 = wallMs(), c0 = threadCpuMs();
    frame();
    t.cpu += threadCpuMs() - c0;
    t.wall += wallMs() - w0;
    t.allocs += allocations.load() - a0;
    ++t.frames;
}

void report(const char* name, const Totals& t) {
    std::printf("%-16s %6d frames  %8.1f fps  %7.3f ms CPU/frame  %9.1f allocations/frame\n", name,
                t.frames, t.frames * 1000.0 / t.wall, t.cpu / t.frames,
                static_cast<double>(t.allocs) / t.frames);
}

// Mixes go on the move history; it is emptied before each one, so that every
// press of R mixes (a full history refuses a mix).
void pressMix() {
    historyTop = 0;
    keyDown['R'] = 1;
}

void tapKey(int key) {
    keyDown[key] = 1;
    realFrame();
    keyDown[key] = 0;
}

} // namespace

int main(int argc, char** argv) {
    int frames = 3000;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) frames = std::atoi(argv[++i]);
        if (std::strcmp(argv[i], "--dump") == 0 && i + 1 < argc) dumpDir = argv[++i];
    }
    framePacing = 0;
    std::srand(1);
    initCubieArray();
    initFaceletGrid();
    // The 1024 x 768 mode: its HUD shift, as the start-up question sets it.
    windowWidth = 1024, windowHeight = 768;
    hudShiftX = 350.0f, hudShiftY = 200.0f;
    frameTicks = fakeTicks;
    startTick = 0.0f;

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "no video: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    window =
        SDL_CreateWindow("frame bench", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (context == nullptr) {
        std::fprintf(stderr, "no GL context: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(0);
    resizeView(1024, 768);
    setupGL();
    std::printf("GL renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

    // Warm-up: the first frames compile the cached lists.
    for (int i = 0; i < 20; ++i) realFrame();

    Totals bare;
    for (int i = 0; i < frames; ++i)
        timed(bare, [] {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            SDL_GL_SwapWindow(window);
        });

    Totals idle;
    for (int i = 0; i < frames; ++i) {
        timed(idle, realFrame);
        if (i == 10) dumpPicture("idle");
    }

    // Mixing: a fresh press of R whenever the last mix has played out.
    Totals mixing;
    while (mixing.frames < frames) {
        if (mixMode == 0) {
            pressMix();
            timed(mixing, realFrame);
            keyDown['R'] = 0;
        } else {
            timed(mixing, realFrame);
        }
        if (mixing.frames == 40) dumpPicture("mixing");
    }
    while (mixMode != 0) realFrame();

    // Playing back: the Base algorithm's solution of a mixed cube. The mix and
    // the frame that computes the solve are not counted.
    Totals playing;
    while (playing.frames < frames) {
        pressMix();
        realFrame();
        keyDown['R'] = 0;
        while (mixMode != 0) realFrame();
        tapKey('0');
        while (solveState.playbackPending == 1 && playing.frames < frames) {
            timed(playing, realFrame);
            if (playing.frames == 100) dumpPicture("playing");
        }
    }
    while (solveState.playbackPending == 1) realFrame();

    // One paused frame for the pictures (the banner).
    tapKey('P');
    for (int i = 0; i < 20; ++i) realFrame();
    dumpPicture("paused");

    report("clear-and-swap", bare);
    report("idle", idle);
    report("mixing", mixing);
    report("playing back", playing);

    freeHudFont();
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    return 0;
}

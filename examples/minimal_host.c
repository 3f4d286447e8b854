/* A minimal host in C99: a headless EGL context, five seconds of synthetic music through the ten
 * functions, and the last frame written as a PPM image.
 *
 *   cc -std=c99 minimal_host.c $(pkg-config --cflags --libs visualization) -o minimal_host
 *   cd /usr/share/visualization && minimal_host res /tmp/frame.ppm
 *
 * The resource path resolves against the working directory (leading slashes are dropped). */
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES3/gl3.h>
#include <stdio.h>
#include <stdlib.h>

#include <visualization/library.h>
#include <visualization/platform.h>

/* The library draws into a full-HD viewport in landscape, so the host's framebuffer is that big. */
enum { WIDTH = 1920, HEIGHT = 1080, BANDS = 16, FPS = 60, SECONDS = 5 };

static int fail(const char* what) {
    fprintf(stderr, "minimal_host: %s\n", what);
    return 1;
}

/* Mesa's surfaceless platform: a context without a window, drawing into our own framebuffer. */
static int makeContext(void) {
    PFNEGLGETPLATFORMDISPLAYEXTPROC getPlatformDisplay =
        (PFNEGLGETPLATFORMDISPLAYEXTPROC)eglGetProcAddress("eglGetPlatformDisplayEXT");
    EGLDisplay display =
        getPlatformDisplay == NULL
            ? EGL_NO_DISPLAY
            : getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, NULL);
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES3_BIT, EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT, EGL_NONE};
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_NONE};
    EGLConfig config;
    EGLint count = 0;
    EGLContext context;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, NULL, NULL) ||
        !eglBindAPI(EGL_OPENGL_ES_API) ||
        !eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        return 0;
    }
    context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    return context != EGL_NO_CONTEXT &&
           eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context);
}

/* Colour and depth: the cube, ring and lines modes test depth. */
static int makeFramebuffer(void) {
    GLuint framebuffer, color, depth;
    glGenRenderbuffers(1, &color);
    glBindRenderbuffer(GL_RENDERBUFFER, color);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, WIDTH, HEIGHT);
    glGenRenderbuffers(1, &depth);
    glBindRenderbuffer(GL_RENDERBUFFER, depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, WIDTH, HEIGHT);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, color);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth);
    glViewport(0, 0, WIDTH, HEIGHT);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

/* Levels in dB: a kick on every half second in the low bands, a hi-hat between kicks in the high
 * ones, over a floor that drifts band by band. */
static void synthesiseBands(int frame, float* levels) {
    const int halfSecond = FPS / 2;
    const float kick = 1.0f - (float)(frame % halfSecond) / (float)(FPS / 8);
    const float hat = 1.0f - (float)((frame + halfSecond / 2) % halfSecond) / (float)(FPS / 20);
    int band;
    for (band = 0; band < BANDS; ++band) {
        float level = -75.0f + (float)((frame + 7 * band) % 40) * 0.25f;
        if (band < BANDS / 4 && kick > 0.0f) {
            level += 55.0f * kick;
        }
        if (band >= BANDS / 2 && hat > 0.0f) {
            level += 35.0f * hat;
        }
        levels[band] = level;
    }
}

static int writePpm(const char* path) {
    static unsigned char rgba[WIDTH * HEIGHT * 4];
    FILE* file = fopen(path, "wb");
    int row, column;
    if (file == NULL) {
        return 0;
    }
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    fprintf(file, "P6\n%d %d\n255\n", WIDTH, HEIGHT);
    for (row = HEIGHT - 1; row >= 0; --row) { /* GL's rows run bottom up */
        for (column = 0; column < WIDTH; ++column) {
            fwrite(&rgba[(row * WIDTH + column) * 4], 1, 3, file);
        }
    }
    return fclose(file) == 0;
}

int main(int argc, char** argv) {
    const char* resources = argc > 1 ? argv[1] : "res";
    const char* output = argc > 2 ? argv[2] : "frame.ppm";
    float levels[BANDS];
    struct BandsInfo bands = {BANDS, levels};
    int frame;
    if (!makeContext()) {
        return fail("no headless OpenGL ES 3 context");
    }
    if (!makeFramebuffer()) {
        return fail("the framebuffer is incomplete");
    }
    /* Offline, the stand-in's manual clock makes every frame 1/60 s of music, however long it
     * takes to draw; a live host leaves the clock alone. */
    platform_clock_set_manual(0);

    /* Everything but the path, the orientation and the speaker layout is dropped until the
     * instance exists. With the layout sent first, OnCreateGlApp has both and creates it; the
     * sound class and the first band frame then reach it. */
    UpdateSpeakerInfo(VIZ_SPEAKER_INFO_TV_SOUNDBAR_1);
    OnCreateGlApp(resources, VIZ_ROTATE_INFO_LANDSCAPE);
    UpdateSoundClass(VIZ_SOUND_CLASS_DYNAMIC);
    for (frame = 0; frame < SECONDS * FPS; ++frame) {
        synthesiseBands(frame, levels);
        UpdateBandsInfo(&bands);
        platform_clock_advance(1000000000LL / FPS);
        OnUpdateGlApp();
    }
    if (glGetError() != GL_NO_ERROR) {
        return fail("a GL error is pending after the frames");
    }
    if (!writePpm(output)) {
        return fail("cannot write the frame");
    }
    OnTerminateGlApp();
    printf("minimal_host: wrote %s after %d frames\n", output, SECONDS * FPS);
    return 0;
}

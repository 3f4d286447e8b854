#include "headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GLES3/gl3.h>

#include <cstring>

#include <stb_image_write.h>

namespace headless {

namespace {

EGLDisplay surfacelessDisplay() {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

}  // namespace

Context::~Context() {
    destroy();
}

bool Context::create() {
    destroy();
    EGLDisplay display = surfacelessDisplay();
    if (display == EGL_NO_DISPLAY) {
        mError = "no EGL display on the surfaceless platform";
        return false;
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (!eglInitialize(display, &major, &minor)) {
        mError = "eglInitialize failed";
        return false;
    }
    mDisplay = display;
    if (!eglBindAPI(EGL_OPENGL_ES_API)) {
        mError = "eglBindAPI(EGL_OPENGL_ES_API) failed";
        destroy();
        return false;
    }
    // eglChooseConfig asks for window surfaces unless told otherwise, and the surfaceless
    // platform has none: without the surface type no config matches.
    const EGLint configAttributes[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_ES3_BIT, EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT, EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, configAttributes, &config, 1, &count) || count < 1) {
        mError = "no EGL config for OpenGL ES 3";
        destroy();
        return false;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 0,
                                        EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) {
        mError = "eglCreateContext for OpenGL ES 3.0 failed";
        destroy();
        return false;
    }
    mContext = context;
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        mError = "eglMakeCurrent without a surface failed";
        destroy();
        return false;
    }
    return true;
}

bool Context::isCurrent() const {
    return mContext != nullptr && eglGetCurrentContext() == mContext;
}

void Context::destroy() {
    if (mDisplay == nullptr) {
        return;
    }
    eglMakeCurrent(mDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (mContext != nullptr) {
        eglDestroyContext(mDisplay, mContext);
        mContext = nullptr;
    }
    eglTerminate(mDisplay);
    mDisplay = nullptr;
}

Target::Target(uint32_t width, uint32_t height) : mWidth(width), mHeight(height) {
    glGenRenderbuffers(1, &mColor);
    glBindRenderbuffer(GL_RENDERBUFFER, mColor);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(width),
                          static_cast<GLsizei>(height));
    glGenRenderbuffers(1, &mDepth);
    glBindRenderbuffer(GL_RENDERBUFFER, mDepth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(width),
                          static_cast<GLsizei>(height));
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glGenFramebuffers(1, &mFramebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, mColor);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, mDepth);
}

Target::~Target() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &mFramebuffer);
    glDeleteRenderbuffers(1, &mColor);
    glDeleteRenderbuffers(1, &mDepth);
}

void Target::bind() const {
    glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
}

bool Target::complete() const {
    bind();
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void Target::read(std::vector<uint8_t>& rgba) const {
    const size_t stride = static_cast<size_t>(mWidth) * 4;
    rgba.resize(stride * mHeight);
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, mFramebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, static_cast<GLsizei>(mWidth), static_cast<GLsizei>(mHeight), GL_RGBA,
                 GL_UNSIGNED_BYTE, rgba.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(previous));
    std::vector<uint8_t> row(stride);
    for (uint32_t y = 0; y < mHeight / 2; ++y) {
        uint8_t* top = rgba.data() + y * stride;
        uint8_t* bottom = rgba.data() + (mHeight - 1 - y) * stride;
        std::memcpy(row.data(), top, stride);
        std::memcpy(top, bottom, stride);
        std::memcpy(bottom, row.data(), stride);
    }
}

bool writePng(const std::string& path, uint32_t width, uint32_t height, const uint8_t* rgba) {
    return stbi_write_png(path.c_str(), static_cast<int>(width), static_cast<int>(height), 4, rgba,
                          static_cast<int>(width) * 4) != 0;
}

}  // namespace headless

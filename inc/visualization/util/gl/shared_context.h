// Living in a GL context that the host shares.
//
// Between any two calls from the host, the host may bind its own programs, vertex arrays,
// buffers and textures, change blending, culling, depth and pixel-store state, and leave GL
// errors pending. So every exported function that may create, draw or delete GL objects opens a
// HostCall: what the GL modules remember of bindings is forgotten (those records hold within one
// call only), pending errors are drained so that the library's own error checks never read the
// host's, and on the way out the library leaves none of its objects bound, so that a host that
// draws without binding first cannot change them, and gives back the host's viewport. Every draw
// then sets the render state it relies on; applyBaseRenderState is the start of each frame.
#pragma once

#include <GLES3/gl3.h>

namespace gl {

constexpr int kMaxDrainedErrors = 16;

// Forgets every binding record of the GL modules (program, vertex array, buffers, textures of
// every unit, the active unit, framebuffers) without a GL call: the next bind of each kind
// reaches GL.
void resetBindingRecords();

// Reads pending GL errors, at most kMaxDrainedErrors, into `errors`, and answers how many there
// were. Logs nothing: the caller knows whose errors they are.
int drainErrors(GLenum (&errors)[kMaxDrainedErrors]);

// The state every frame of the library starts from, whatever the host left: no scissor, stencil,
// depth test, culling, blending, polygon offset, rasteriser discard or coverage; all colour
// channels and depth writable, depth passing when less; counter-clockwise front faces; additive
// blend equation; no sampler objects on the units the library uses; texture unit 0 active.
void applyBaseRenderState();

// Unbinds what the library may have left bound (program, vertex array, array buffer, the
// textures of every unit it used) and makes unit 0 active again.
void releaseBindings();

// One call from the host, as a scope: resets the binding records and drains the host's errors
// on entry; releases the library's bindings and restores the host's viewport on exit.
class HostCall {
public:
    HostCall();
    ~HostCall();
    HostCall(const HostCall&) = delete;
    HostCall& operator=(const HostCall&) = delete;

    int hostErrorCount() const { return mHostErrorCount; }
    // One line naming the exported function and the errors, in the order GL reported them.
    void logHostErrors(const char* function) const;

private:
    GLenum mHostErrors[kMaxDrainedErrors] = {};
    int mHostErrorCount = 0;
    GLint mViewport[4] = {0, 0, 0, 0};
};

// While it lives, no draw reaches a pixel: the scissor test is on with an empty box. Each
// renderer draws inside one as it is built, once with every program and render state its frames
// use, because a driver may build a program's machine code for each render state at the first
// draw that needs it: the software rasteriser takes 45-135 ms a state without its disk cache,
// and without the warm-up a mode would pay it in a frame, at its first draw after each creation.
// The scissor test and box are given back as they were.
class WarmUp {
public:
    WarmUp();
    ~WarmUp();
    WarmUp(const WarmUp&) = delete;
    WarmUp& operator=(const WarmUp&) = delete;

private:
    GLboolean mScissorTest = GL_FALSE;
    GLint mScissorBox[4] = {0, 0, 0, 0};
};

}  // namespace gl

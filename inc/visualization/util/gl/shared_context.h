// Living in a GL context that the host shares.
//
// Between any two calls from the host, the host may bind its own programs, vertex arrays,
// buffers and textures, change blending, culling, depth and pixel-store state, and leave GL
// errors pending. So every exported function that may create, draw or delete GL objects opens a
// HostCall: what the GL modules remember of bindings is forgotten (those records hold within one
// call only), pending errors are drained so that the library's own error checks never read the
// host's, and the host's state is saved. Every draw then sets the render state it relies on
// (applyBaseRenderState is the start of each frame), and on the way out the host's state is
// given back as it was, so that the host may go on drawing without setting anything again.
#pragma once

#include <GLES3/gl3.h>

#include "visualization/util/gl/texture_2d.h"

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

// Everything of the context's state that the library may change in one call: bindings (program,
// vertex array with its element buffer, array, pixel-unpack and uniform buffers, framebuffers,
// the texture and sampler of every unit the library uses, the active unit), the capabilities,
// blending, depth, culling, polygon offset, scissor, viewport, clear colour, colour mask and the
// unpack pixel-store parameters. About seventy queries and as many calls to give it back.
class ContextState {
public:
    void save();
    void restore() const;

private:
    static constexpr int kCapabilityCount = 9;

    GLint mProgram = 0;
    GLint mVertexArray = 0;
    GLint mElementBuffer = 0;
    GLint mArrayBuffer = 0;
    GLint mPixelUnpackBuffer = 0;
    GLint mUniformBuffer = 0;
    GLint mDrawFramebuffer = 0;
    GLint mReadFramebuffer = 0;
    GLint mActiveTexture = GL_TEXTURE0;
    GLint mTextures[kTextureUnitCount] = {};
    GLint mSamplers[kTextureUnitCount] = {};
    GLboolean mCapabilities[kCapabilityCount] = {};
    GLint mBlend[6] = {};  // source and destination RGB and alpha, then the two equations
    GLint mDepthFunc = GL_LESS;
    GLboolean mDepthMask = GL_TRUE;
    GLint mCullFace = GL_BACK;
    GLint mFrontFace = GL_CCW;
    GLfloat mPolygonOffset[2] = {};
    GLint mScissorBox[4] = {};
    GLint mViewport[4] = {};
    GLfloat mClearColor[4] = {};
    GLboolean mColorMask[4] = {GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE};
    GLint mUnpack[4] = {};  // alignment, row length, skip rows, skip pixels
};

// One call from the host, as a scope: resets the binding records, drains the host's errors and
// saves the host's state on entry; gives that state back on exit. The framebuffer the host bound
// stays bound throughout.
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
    ContextState mHostState;
};

// While it lives, no draw reaches a pixel: the scissor test is on with an empty box. Each
// renderer draws inside one as it is built, once with every program and render state its frames
// use, because a driver may build a program's machine code for each render state at the first
// draw that needs it: the software rasteriser takes 45-135 ms a state without its disk cache,
// and without the warm-up a mode would pay it in a frame, at its first draw after each creation.
// The scissor test and box are given back as they were. Creation may come before the host has a
// complete framebuffer (inside OnCreateGlApp), where every draw is an error: the warm-up then
// draws into a one-pixel framebuffer of its own and gives the host's binding back.
class WarmUp {
public:
    WarmUp();
    ~WarmUp();
    WarmUp(const WarmUp&) = delete;
    WarmUp& operator=(const WarmUp&) = delete;

private:
    GLboolean mScissorTest = GL_FALSE;
    GLint mScissorBox[4] = {0, 0, 0, 0};
    GLint mHostDrawFramebuffer = 0;
    GLint mHostReadFramebuffer = 0;
    GLuint mFramebuffer = 0;
    GLuint mRenderbuffers[2] = {0, 0};
};

}  // namespace gl

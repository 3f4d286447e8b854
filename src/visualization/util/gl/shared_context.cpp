#include "visualization/util/gl/shared_context.h"

#include <cstdio>

#include "visualization/log.h"
#include "visualization/util/gl/buffer.h"
#include "visualization/util/gl/framebuffer.h"
#include "visualization/util/gl/program.h"
#include "visualization/util/gl/texture_2d.h"
#include "visualization/util/gl/vertex_array.h"

namespace gl {

void resetBindingRecords() {
    programCurrent = nullptr;
    vertexArrayCurrent = nullptr;
    vertexBufferCurrent = nullptr;
    indexBufferCurrent = nullptr;
    uniformBufferCurrent = nullptr;
    texture2dCurrent = nullptr;
    for (Texture2d*& record : texture2dCurrentUnits) {
        record = nullptr;
    }
    textureUnitCurrent = -1;
    framebufferCurrent = nullptr;
    framebufferDrawCurrent = nullptr;
    framebufferReadCurrent = nullptr;
}

int drainErrors(GLenum (&errors)[kMaxDrainedErrors]) {
    // Bounded: a lost context may answer an error on every read.
    int count = 0;
    while (count < kMaxDrainedErrors) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) {
            break;
        }
        errors[count++] = error;
    }
    return count;
}

void applyBaseRenderState() {
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glDisable(GL_RASTERIZER_DISCARD);
    glDisable(GL_SAMPLE_ALPHA_TO_COVERAGE);
    glDisable(GL_SAMPLE_COVERAGE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    glFrontFace(GL_CCW);
    glBlendEquation(GL_FUNC_ADD);
    // A sampler object bound to a unit overrides the filtering and wrapping of our textures.
    for (GLuint unit = 0; unit < kTextureUnitCount; ++unit) {
        glBindSampler(unit, 0);
    }
    activeTexture(0);
}

namespace {

constexpr GLenum kCapabilities[] = {
    GL_BLEND,           GL_CULL_FACE,           GL_DEPTH_TEST,         GL_SCISSOR_TEST,
    GL_STENCIL_TEST,    GL_POLYGON_OFFSET_FILL, GL_RASTERIZER_DISCARD, GL_SAMPLE_ALPHA_TO_COVERAGE,
    GL_SAMPLE_COVERAGE,
};

GLuint name(GLint value) {
    return static_cast<GLuint>(value);
}

}  // namespace

void ContextState::save() {
    static_assert(sizeof(kCapabilities) / sizeof(kCapabilities[0]) == kCapabilityCount);
    glGetIntegerv(GL_CURRENT_PROGRAM, &mProgram);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &mVertexArray);
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &mElementBuffer);
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &mArrayBuffer);
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &mPixelUnpackBuffer);
    glGetIntegerv(GL_UNIFORM_BUFFER_BINDING, &mUniformBuffer);
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &mDrawFramebuffer);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &mReadFramebuffer);
    glGetIntegerv(GL_ACTIVE_TEXTURE, &mActiveTexture);
    for (GLuint unit = 0; unit < kTextureUnitCount; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &mTextures[unit]);
        glGetIntegerv(GL_SAMPLER_BINDING, &mSamplers[unit]);
    }
    glActiveTexture(static_cast<GLenum>(mActiveTexture));
    for (int i = 0; i < kCapabilityCount; ++i) {
        mCapabilities[i] = glIsEnabled(kCapabilities[i]);
    }
    glGetIntegerv(GL_BLEND_SRC_RGB, &mBlend[0]);
    glGetIntegerv(GL_BLEND_DST_RGB, &mBlend[1]);
    glGetIntegerv(GL_BLEND_SRC_ALPHA, &mBlend[2]);
    glGetIntegerv(GL_BLEND_DST_ALPHA, &mBlend[3]);
    glGetIntegerv(GL_BLEND_EQUATION_RGB, &mBlend[4]);
    glGetIntegerv(GL_BLEND_EQUATION_ALPHA, &mBlend[5]);
    glGetIntegerv(GL_DEPTH_FUNC, &mDepthFunc);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &mDepthMask);
    glGetIntegerv(GL_CULL_FACE_MODE, &mCullFace);
    glGetIntegerv(GL_FRONT_FACE, &mFrontFace);
    glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &mPolygonOffset[0]);
    glGetFloatv(GL_POLYGON_OFFSET_UNITS, &mPolygonOffset[1]);
    glGetIntegerv(GL_SCISSOR_BOX, mScissorBox);
    glGetIntegerv(GL_VIEWPORT, mViewport);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, mClearColor);
    glGetBooleanv(GL_COLOR_WRITEMASK, mColorMask);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &mUnpack[0]);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &mUnpack[1]);
    glGetIntegerv(GL_UNPACK_SKIP_ROWS, &mUnpack[2]);
    glGetIntegerv(GL_UNPACK_SKIP_PIXELS, &mUnpack[3]);
}

void ContextState::restore() const {
    glUseProgram(name(mProgram));
    // The element binding belongs to the vertex array: given back once that is bound again.
    glBindVertexArray(name(mVertexArray));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, name(mElementBuffer));
    glBindBuffer(GL_ARRAY_BUFFER, name(mArrayBuffer));
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, name(mPixelUnpackBuffer));
    glBindBuffer(GL_UNIFORM_BUFFER, name(mUniformBuffer));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, name(mDrawFramebuffer));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, name(mReadFramebuffer));
    for (GLuint unit = 0; unit < kTextureUnitCount; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, name(mTextures[unit]));
        glBindSampler(unit, name(mSamplers[unit]));
    }
    glActiveTexture(static_cast<GLenum>(mActiveTexture));
    for (int i = 0; i < kCapabilityCount; ++i) {
        mCapabilities[i] ? glEnable(kCapabilities[i]) : glDisable(kCapabilities[i]);
    }
    glBlendFuncSeparate(static_cast<GLenum>(mBlend[0]), static_cast<GLenum>(mBlend[1]),
                        static_cast<GLenum>(mBlend[2]), static_cast<GLenum>(mBlend[3]));
    glBlendEquationSeparate(static_cast<GLenum>(mBlend[4]), static_cast<GLenum>(mBlend[5]));
    glDepthFunc(static_cast<GLenum>(mDepthFunc));
    glDepthMask(mDepthMask);
    glCullFace(static_cast<GLenum>(mCullFace));
    glFrontFace(static_cast<GLenum>(mFrontFace));
    glPolygonOffset(mPolygonOffset[0], mPolygonOffset[1]);
    glScissor(mScissorBox[0], mScissorBox[1], mScissorBox[2], mScissorBox[3]);
    glViewport(mViewport[0], mViewport[1], mViewport[2], mViewport[3]);
    glClearColor(mClearColor[0], mClearColor[1], mClearColor[2], mClearColor[3]);
    glColorMask(mColorMask[0], mColorMask[1], mColorMask[2], mColorMask[3]);
    glPixelStorei(GL_UNPACK_ALIGNMENT, mUnpack[0]);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, mUnpack[1]);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, mUnpack[2]);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, mUnpack[3]);
}

HostCall::HostCall() {
    resetBindingRecords();
    mHostErrorCount = drainErrors(mHostErrors);
    mHostState.save();
}

HostCall::~HostCall() {
    mHostState.restore();
}

void HostCall::logHostErrors(const char* function) const {
    char names[kMaxDrainedErrors * 40] = "";
    size_t used = 0;
    for (int i = 0; i < mHostErrorCount && used < sizeof(names); ++i) {
        const char* name = errorName(mHostErrors[i]);
        const int written =
            name != nullptr
                ? std::snprintf(names + used, sizeof(names) - used, "%s%s", i > 0 ? ", " : "", name)
                : std::snprintf(names + used, sizeof(names) - used, "%s0x%X", i > 0 ? ", " : "",
                                mHostErrors[i]);
        if (written < 0) {
            break;
        }
        used += static_cast<size_t>(written);
    }
    logMessage("[Library][%s] GL errors left pending by the host: %s", function, names);
}

WarmUp::WarmUp() {
    mScissorTest = glIsEnabled(GL_SCISSOR_TEST);
    glGetIntegerv(GL_SCISSOR_BOX, mScissorBox);
    if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &mHostDrawFramebuffer);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &mHostReadFramebuffer);
        // The formats of a host's usual framebuffer: the driver's code depends on them.
        glGenRenderbuffers(2, mRenderbuffers);
        glBindRenderbuffer(GL_RENDERBUFFER, mRenderbuffers[0]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 1, 1);
        glBindRenderbuffer(GL_RENDERBUFFER, mRenderbuffers[1]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, 1, 1);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
        glGenFramebuffers(1, &mFramebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, mFramebuffer);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                                  mRenderbuffers[0]);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  mRenderbuffers[1]);
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
}

WarmUp::~WarmUp() {
    glScissor(mScissorBox[0], mScissorBox[1], mScissorBox[2], mScissorBox[3]);
    if (mScissorTest == GL_FALSE) {
        glDisable(GL_SCISSOR_TEST);
    }
    if (mFramebuffer != 0) {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(mHostDrawFramebuffer));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(mHostReadFramebuffer));
        glDeleteFramebuffers(1, &mFramebuffer);
        glDeleteRenderbuffers(2, mRenderbuffers);
    }
}

}  // namespace gl

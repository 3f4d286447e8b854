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

void releaseBindings() {
    if (programCurrent != nullptr) {
        unbindProgram();
    }
    if (vertexArrayCurrent != nullptr) {
        unbindVertexArray();
    }
    if (vertexBufferCurrent != nullptr) {
        unbindVertexBuffer();
    }
    if (textureUnitCurrent < 0) {
        if (texture2dCurrent != nullptr) {
            unbindTexture2d();
        }
        activeTexture(0);
        return;
    }
    texture2dCurrentUnits[textureUnitCurrent] = texture2dCurrent;
    for (GLuint unit = 0; unit < kTextureUnitCount; ++unit) {
        if (texture2dCurrentUnits[unit] != nullptr) {
            activeTexture(unit);
            unbindTexture2d();
        }
    }
    activeTexture(0);
}

HostCall::HostCall() {
    resetBindingRecords();
    mHostErrorCount = drainErrors(mHostErrors);
    glGetIntegerv(GL_VIEWPORT, mViewport);
}

HostCall::~HostCall() {
    releaseBindings();
    glViewport(mViewport[0], mViewport[1], mViewport[2], mViewport[3]);
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
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
}

WarmUp::~WarmUp() {
    glScissor(mScissorBox[0], mScissorBox[1], mScissorBox[2], mScissorBox[3]);
    if (mScissorTest == GL_FALSE) {
        glDisable(GL_SCISSOR_TEST);
    }
}

}  // namespace gl

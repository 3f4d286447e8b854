#include "visualization/aod_overlay.h"

#include <vector>

#include "visualization/log.h"
#include "visualization/types.h"
#include "visualization/util/gl/shared_context.h"
#include "visualization/util/math/quaternion.h"

namespace {

const char* const kVertexShader = R"(#version 300 es
precision highp float;
precision highp int;
layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec2 aTexCoord;
uniform mat4 uProjectionMatrix;
out vec2 vTexCoord;
void main() {
    vTexCoord = aTexCoord;
    gl_Position = uProjectionMatrix * aPosition;
}
)";

// White in the atlas lets the content through, black covers it with uColor; premultiplied.
const char* const kFragmentShader = R"(#version 300 es
precision highp float;
in vec2 vTexCoord;
uniform sampler2D uTexture;
uniform vec4 uColor;
out vec4 FragColor;
void main() {
    float k = 1.0 - texture(uTexture, vTexCoord).r;
    FragColor = uColor;
    FragColor.a *= k;
    FragColor.rgb *= FragColor.a;
}
)";

}  // namespace

AODOverlay::AODOverlay(uint32_t width, uint32_t height) : mWidth(width), mHeight(height) {
    beginScope("[AODOverlay][Constructor]");
    mDefaultBlend = DisplayModeBlendValues.at(DisplayMode::DEFAULT);
    mAODBlend = DisplayModeBlendValues.at(DisplayMode::AOD);

    mProgram.reset(gl::createProgram(kVertexShader, kFragmentShader, {}));
    gl::bindProgram(mProgram.get());
    gl::uniform("uTexture", 0);
    gl::unbindProgram();

    mVertexBuffer.reset(gl::createVertexBuffer(static_cast<GLsizeiptr>(mMesh.vertices().size()),
                                               sizeof(float), mMesh.vertices().data(),
                                               GL_STREAM_DRAW));
    std::vector<gl::VertexArrayAttributeConfig> configs = {
        gl::VertexArrayAttributeConfig()
            .setLocation(0)
            .setBuffer(mVertexBuffer.get())
            .setSize(2)
            .setOffset(0)
            .setStride(16),
        gl::VertexArrayAttributeConfig()
            .setLocation(1)
            .setBuffer(mVertexBuffer.get())
            .setSize(2)
            .setOffset(8)
            .setStride(16),
    };
    const auto& indices = AODOverlayMesh::indices();
    mIndexBuffer.reset(gl::createIndexBuffer(std::vector<uint16_t>(indices.begin(), indices.end()),
                                             GL_STATIC_DRAW));
    mVertexArray.reset(gl::createVertexArray(configs, mIndexBuffer.get()));

    gl::Texture2dConfig config;
    config.format = GL_RGB;
    config.internalFormat = GL_RGB;
    mTexture.reset(gl::createTexture2d(mMaskImage, config));
    mTexelSize = vec2f{1.0f / static_cast<float>(mTexture->width),
                       1.0f / static_cast<float>(mTexture->height)};

    // The cover is drawn only in the always-on look, which may come long after creation.
    const gl::WarmUp warmUp;
    drawCover();
    endScope();
}

AODOverlay::~AODOverlay() {
    beginScope("[AODOverlay][Destructor]");
    mProgram.reset();
    mVertexArray.reset();
    mVertexBuffer.reset();
    mIndexBuffer.reset();
    mTexture.reset();
    endScope();
}

void AODOverlay::update(const AODMask& mask) {
    mActive = mDisplayModeBlend != mDefaultBlend && !AODOverlayMesh::sameShape(mask, AODMask());
    mScissorEnabled = mActive && mDisplayModeBlend == mAODBlend;

    if (mActive) {
        const float w = static_cast<float>(mWidth);
        const float h = static_cast<float>(mHeight);
        const float aspect = w / h;
        const float halfHeight = h / 2.0f;
        math::ortho(mProjection, -aspect * halfHeight, aspect * halfHeight, -halfHeight, halfHeight,
                    0.0f, -1.0f);

        // The transpose of the mask's rotation: the cover turns against the content's camera.
        const vec3f x = math::rotate(mask.rotation, vec3f{1.0f, 0.0f, 0.0f});
        const vec3f y = math::rotate(mask.rotation, vec3f{0.0f, 1.0f, 0.0f});
        const vec3f z = math::rotate(mask.rotation, vec3f{0.0f, 0.0f, 1.0f});
        mRotationMatrix.set(x.x, y.x, z.x, 0.0f, x.y, y.y, z.y, 0.0f, x.z, y.z, z.z, 0.0f, 0.0f,
                            0.0f, 0.0f, 1.0f);
        mProjection.multiply(mRotationMatrix);

        if (!mMeshCurrent || !AODOverlayMesh::sameShape(mask, mPreviousMask)) {
            mMesh.build(w, h, mask, mColumns, mRows, mTexelSize);
            mMeshCurrent = true;
            mVerticesDirty = true;
        }
        mMesh.windowBounds(mProjection.data(), w, h, mScissorMin, mScissorMax);
    } else if (!AODOverlayMesh::sameShape(mask, mPreviousMask)) {
        mMeshCurrent = false;
    }
    mPreviousMask = mask;
}

void AODOverlay::begin() {
    if (mScissorEnabled) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(static_cast<GLint>(mScissorMin.x), static_cast<GLint>(mScissorMin.y),
                  static_cast<GLsizei>(mScissorMax.x - mScissorMin.x),
                  static_cast<GLsizei>(mScissorMax.y - mScissorMin.y));
    }
}

void AODOverlay::draw() {
    if (mActive) {
        drawCover();
    }
    if (mScissorEnabled) {
        glDisable(GL_SCISSOR_TEST);
    }
}

void AODOverlay::drawCover() {
    GLfloat clear[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendEquation(GL_FUNC_ADD);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    gl::bindProgram(mProgram.get());
    gl::uniform("uProjectionMatrix", mProjection.data(), false);
    gl::uniform("uColor", clear[0], clear[1], clear[2], mDisplayModeBlend);
    gl::activeTexture(0);
    gl::bindTexture2d(mTexture.get());
    gl::bindVertexArray(mVertexArray.get());
    if (mVerticesDirty) {
        gl::bindVertexBuffer(mVertexBuffer.get());
        gl::bufferVertexData(static_cast<GLsizeiptr>(mMesh.vertices().size()), sizeof(float),
                             mMesh.vertices().data(), GL_DYNAMIC_DRAW);
        mVerticesDirty = false;
    }
    glDrawElements(GL_TRIANGLES, AODOverlayMesh::kIndexCount, GL_UNSIGNED_SHORT, nullptr);
    glDisable(GL_BLEND);
}

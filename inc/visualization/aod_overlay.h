// The always-on-display cover. In AOD display mode the screen shows the content only through
// a shaped window (the current content's AODMask); everything around it is covered in the
// clear colour, faded in with the display-mode blend. Once the blend has fully reached AOD the
// content's own drawing is also scissored to the window's bounding box.
//
// Per frame the content player calls setDisplayModeBlend, update(content.getAODMask()),
// begin(), the content's render, then draw(). begin and draw pair up within a frame: draw
// closes the scissor test that begin opened. Render thread only, GL context current.
#pragma once

#include <cstdint>

#include "visualization/aod_overlay_mesh.h"
#include "visualization/content/abstract_content.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/math/mat44.h"
#include "visualization/util/math/vector.h"

class AODOverlay {
public:
    AODOverlay(uint32_t width, uint32_t height);
    ~AODOverlay();
    AODOverlay(const AODOverlay&) = delete;
    AODOverlay& operator=(const AODOverlay&) = delete;

    void setDisplayModeBlend(float blend) { mDisplayModeBlend = blend; }
    void update(const AODMask& mask);
    void begin();
    void draw();

private:
    void drawCover();

    uint32_t mWidth;
    uint32_t mHeight;
    const char* mMaskImage = "images/aod_masks.png";
    uint32_t mColumns = 3;
    uint32_t mRows = 2;
    float mDisplayModeBlend = 1.0f;
    float mDefaultBlend = 0.0f;
    float mAODBlend = 1.0f;
    math::mat44<float> mProjection;
    math::mat44<float> mRotationMatrix;
    AODMask mPreviousMask;
    bool mActive = false;
    bool mScissorEnabled = false;
    vec2f mScissorMin;
    vec2f mScissorMax;
    gl::Owned<gl::Program> mProgram;
    gl::Owned<gl::VertexBuffer> mVertexBuffer;
    gl::Owned<gl::IndexBuffer> mIndexBuffer;
    gl::Owned<gl::VertexArray> mVertexArray;
    AODOverlayMesh mMesh;
    // The mesh describes mPreviousMask. It does not while nothing was built yet, or after the
    // mask changed during frames in which the cover was not drawn.
    bool mMeshCurrent = false;
    bool mVerticesDirty = true;
    gl::Owned<gl::Texture2d> mTexture;
    vec2f mTexelSize;
};

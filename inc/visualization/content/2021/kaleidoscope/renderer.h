// Draws a kaleidoscope animator's photograph folded into mirrored wedges around the centre: the
// fold, and its turn, are triangles rebuilt every frame, and the fragment shader zooms, drifts
// and mirrors the picture, which repeats beyond its edges. The photograph is uploaded when the
// animator's path changes; a photograph decoded ahead of time by the image loader is taken as
// it is, any other is read and decoded on the spot and resampled the same way, so that both look
// alike. Render thread only; owns its GL objects.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "visualization/content/2021/kaleidoscope/animator.h"
#include "visualization/content/2021/kaleidoscope/image_loader.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/system/fs.h"

namespace content2021 {
namespace kaleidoscope {

enum class FitMode : uint32_t { HORIZONTAL, VERTICAL };

extern const std::map<FitMode, std::string> FitModeNames;

class Renderer {
public:
    Renderer(uint32_t width, uint32_t height);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    void setBlend(float blend) { mBlend = blend; }
    // Where decoded photographs may be waiting; null decodes every photograph on the spot.
    // With a loader, the photograph that comes next is uploaded a little every frame. The
    // loader must outlive the renderer.
    void setImageLoader(ImageLoader* loader);
    // Waits for the photograph the loader was asked for last and uploads it whole: the content
    // does so when it is built, which may take the time a frame may not, so that its first mode
    // does not load a photograph either.
    void stageNextImage();
    void draw(const RenderState& state);
    void updateTexture(const std::string& path);

    // Automatic fits follow the longer side of the screen and of the photograph; turning one
    // off keeps the mode last chosen or set.
    void setScreenFit(FitMode mode, bool automatic) {
        mScreenFitMode = mode;
        mScreenFitAuto = automatic;
    }
    void setTextureFit(FitMode mode, bool automatic) {
        mTextureFitMode = mode;
        mTextureFitAuto = automatic;
    }
    // Whether the photograph the loader decoded last is up in full, so that the mode it belongs
    // to starts without uploading anything.
    bool isNextImageUp() const {
        return mStaging.slot >= 0 && mStaging.level == kUniformImageLevels;
    }

private:
    struct Staging;
    vec2f getAspect() const;
    vec2f getTextureAspect() const;
    // Writes this frame's triangles of the fold into mFoldVertices and answers how many vertices.
    size_t buildFold(const RenderState& state);
    void drawFold(const RenderState& state, gl::Texture2d* texture);
    gl::Texture2dConfig textureConfig() const;
    // Reads, decodes and resamples a photograph on this thread, logging why when it fails.
    void loadOnTheSpot(const std::string& path, DecodedImage& image);
    // Takes the photograph the loader decoded last (waiting for it if asked) and uploads up to
    // budgetBytes more of it.
    void stage(size_t budgetBytes, bool wait);
    // Uploads up to budgetBytes more rows of `levels` into the staging's slot.
    void upload(Staging& staging, const unsigned char* levels, size_t budgetBytes);
    void resetStaging();

    uint32_t mWidth;
    uint32_t mHeight;
    float mBlend = 0.0f;
    FitMode mScreenFitMode = FitMode::HORIZONTAL;
    FitMode mTextureFitMode = FitMode::HORIZONTAL;
    bool mScreenFitAuto = true;
    bool mTextureFitAuto = true;
    gl::Owned<gl::Program> mProgram;
    gl::Owned<gl::VertexBuffer> mVertexBuffer;
    gl::Owned<gl::VertexArray> mVertexArray;
    std::vector<float> mFoldVertices;  // sized once, at construction
    GLenum mTextureWrap = GL_REPEAT;
    std::string mTexturePath;
    bool mTextureValid = false;
    ImageLoader* mImageLoader = nullptr;
    // The photograph that comes next is uploaded a little every frame into whichever of the two
    // slots is not shown, and shown from there once its mode starts; a photograph loaded on the
    // spot goes up whole into that slot. No photograph is shown before the first (-1).
    struct Staging {
        DecodedImage image;
        int slot = -1;
        int level = 0;  // the next rows to upload
        int row = 0;
    };
    std::array<gl::Owned<gl::Texture2d>, 2> mSlots;
    int mShownSlot = -1;
    int mImageWidth = 1;  // of the photograph shown, as decoded
    int mImageHeight = 1;
    Staging mStaging;
};

}  // namespace kaleidoscope
}  // namespace content2021

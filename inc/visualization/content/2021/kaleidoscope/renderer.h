// Draws a kaleidoscope animator's photograph as one full-screen quad: the fragment shader folds
// the screen into mirrored wedges around the centre, turns the fold, and zooms, drifts and
// mirrors the picture, which repeats beyond its edges. The photograph is uploaded when the
// animator's path changes; a photograph decoded ahead of time by the image loader is taken as
// it is, any other is read and decoded on the spot. Render thread only; owns its GL objects.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "visualization/content/2021/kaleidoscope/animator.h"
#include "visualization/util/gl/owner.h"
#include "visualization/util/system/fs.h"

namespace content2021 {
namespace kaleidoscope {

class ImageLoader;

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
    void setImageLoader(ImageLoader* loader) { mImageLoader = loader; }
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
    vec2f getAspect() const;
    vec2f getTextureAspect() const;
    bool isTextureValid() const { return mTextureValid; }

private:
    void uploadTexture(const unsigned char* pixels, int width, int height, int channels);

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
    gl::Owned<gl::Texture2d> mTexture;
    GLenum mTextureWrap = GL_REPEAT;
    std::string mTexturePath;
    bool mTextureValid = false;
    ImageLoader* mImageLoader = nullptr;
};

}  // namespace kaleidoscope
}  // namespace content2021

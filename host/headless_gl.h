// A headless OpenGL ES 3 context through EGL on Mesa's surfaceless platform, rendering into an
// offscreen framebuffer object. Shared by the reference host, the gallery and the GL tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace headless {

class Context {
public:
    Context() = default;
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    // Creates the display and context and makes it current. On failure returns false and
    // error() says why; nothing is left half made.
    bool create();
    bool isCurrent() const;
    const std::string& error() const { return mError; }
    void destroy();

private:
    void* mDisplay = nullptr;
    void* mContext = nullptr;
    std::string mError;
};

// A colour and depth/stencil target of a fixed size. Needs a current context.
class Target {
public:
    Target(uint32_t width, uint32_t height);
    ~Target();
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    void bind() const;
    bool complete() const;
    uint32_t width() const { return mWidth; }
    uint32_t height() const { return mHeight; }
    uint32_t framebuffer() const { return mFramebuffer; }

    // RGBA bytes, top row first (GL reads bottom up; rows are flipped here).
    void read(std::vector<uint8_t>& rgba) const;

private:
    uint32_t mWidth;
    uint32_t mHeight;
    uint32_t mFramebuffer = 0;
    uint32_t mColor = 0;
    uint32_t mDepth = 0;
};

// Writes RGBA bytes (top row first) to a PNG file.
bool writePng(const std::string& path, uint32_t width, uint32_t height, const uint8_t* rgba);

}  // namespace headless

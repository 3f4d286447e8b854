// 2D textures, from pixels or straight from image assets, on GL_TEXTURE_2D of the active unit.
//
// An image asset is decoded with its own channel count; a requested format that does not fit
// that count is corrected, with a log line, rather than uploaded wrongly. Assets that cannot be
// loaded, or whose channel count no format fits, never fail: they give a logged 1x1 texture.
//
// Records follow the buffers' conventions: created and deleted in pairs by their owner, the
// texture last bound through this module is remembered, and creating a texture restores the
// binding of the current one.
#pragma once

#include <GLES3/gl3.h>

#include <cstdint>

namespace gl {

struct Texture2dConfig {
    GLint level = 0;
    uint8_t border = 0;
    GLenum format = GL_RGBA;          // of the pixel data
    GLenum internalFormat = GL_RGBA;  // what the channel check of image assets inspects
    GLenum type = GL_UNSIGNED_BYTE;
    GLenum wrapS = GL_CLAMP_TO_EDGE;
    GLenum wrapT = GL_CLAMP_TO_EDGE;
    GLenum minFilter = GL_LINEAR;
    GLenum magFilter = GL_LINEAR;
    bool generateMipmap = false;
    GLint unpackAlignment = 4;
};

struct Texture2d {
    GLuint width = 0;
    GLuint height = 0;
    GLuint id = 0;
    Texture2dConfig config;  // as last applied, corrections included
};

// Texture units the library addresses; each has its own record of the texture last bound on it.
constexpr GLuint kTextureUnitCount = 8;

// The texture last bound through this module on the active unit; null when none is, or when the
// active unit is not known (after the records were reset, until activeTexture is called).
extern Texture2d* texture2dCurrent;
// The records of every unit; the active unit's entry is kept in texture2dCurrent.
extern Texture2d* texture2dCurrentUnits[kTextureUnitCount];
// The unit made active through this module, or -1 when GL's active unit is not known.
extern GLint textureUnitCurrent;

// glActiveTexture(GL_TEXTURE0 + unit), skipped when the unit is already active. Binds and
// unbinds of textures act on this unit.
void activeTexture(GLuint unit);

Texture2d* createTexture2d(const void* pixels, GLuint width, GLuint height,
                           const Texture2dConfig& config);
// Storage only; the contents are undefined.
Texture2d* createTexture2d(GLuint width, GLuint height, const Texture2dConfig& config);
// Immutable storage for `levels` mip levels in the config's format (GL_RGB or GL_RGBA, unsigned
// bytes) with the config's filters and wraps, to be filled by texSubImage2d: an image can then
// go up piecewise over several frames while another texture is drawn.
Texture2d* createTexture2dStorage(GLuint width, GLuint height, GLsizei levels,
                                  const Texture2dConfig& config);
// From an image below the resource directory. Never null.
Texture2d* createTexture2d(const char* path, const Texture2dConfig& config);

// Redefine the current texture: completely, with a new config...
void texImage2d(const void* pixels, GLuint width, GLuint height, const Texture2dConfig& config);
// ...only the image, with the stored config...
void texImage2d(const void* pixels, GLuint width, GLuint height, bool generateMipmap);
// ...or from an image asset, correcting the stored config to the image's channels. An asset that
// cannot be used leaves a 0x0 image.
void texImage2d(const char* path, bool generateMipmap);

// Rows [y, y + rows) of mip level `level` of the current texture, packed as its config says.
void texSubImage2d(GLint level, GLuint y, GLuint width, GLuint rows, const void* pixels);

void bindTexture2d(Texture2d* texture);
void unbindTexture2d();
void deleteTexture2d(Texture2d*& texture);

enum class ImageChannelValidation { Unsupported, Valid, Corrected };

// Checks config.internalFormat against decoded image data of numChannels channels (1, 3 or 4 are
// supported). On a mismatch both format fields become the image's format and the outcome is
// Corrected; both outcomes other than Valid are logged.
ImageChannelValidation validateImageDataNumChannels(int numChannels, Texture2dConfig& config);

}  // namespace gl

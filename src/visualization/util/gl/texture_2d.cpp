#include "visualization/util/gl/texture_2d.h"

#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/gl/buffer.h"
#include "visualization/util/system/fs.h"

namespace gl {

Texture2d* texture2dCurrent = nullptr;
Texture2d* texture2dCurrentUnits[kTextureUnitCount] = {};
GLint textureUnitCurrent = -1;

namespace {

const char* formatName(GLenum format) {
    switch (format) {
        case GL_LUMINANCE:
            return "GL_LUMINANCE";
        case GL_ALPHA:
            return "GL_ALPHA";
        case GL_RGB:
            return "GL_RGB";
        case GL_RGBA:
            return "GL_RGBA";
        case GL_LUMINANCE_ALPHA:
            return "GL_LUMINANCE_ALPHA";
        default:
            // The library requests only the formats above; anything else is a caller's typo.
            return "(unnamed format)";
    }
}

// Uploads read from client memory only while no pixel-unpack buffer is bound, and only the rows
// we hand over while the unpack layout is tight: the host may have left a buffer bound (then
// `pixels` would be taken as an offset into it) or a row length and skips of its own (then GL
// would read past the end of our array).
void prepareUpload(GLint unpackAlignment) {
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

// The steps shared by creation and complete redefinition, on the texture bound in GL.
void defineImage(const void* pixels, GLuint width, GLuint height, const Texture2dConfig& config) {
    prepareUpload(config.unpackAlignment);
    glTexImage2D(GL_TEXTURE_2D, config.level, static_cast<GLint>(config.internalFormat),
                 static_cast<GLsizei>(width), static_cast<GLsizei>(height), config.border,
                 config.format, config.type, pixels);
    VIZ_ASSERT(!gl::getError());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(config.minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(config.magFilter));
    VIZ_ASSERT(!gl::getError());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(config.wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(config.wrapT));
    VIZ_ASSERT(!gl::getError());
    if (config.generateMipmap) {
        glGenerateMipmap(GL_TEXTURE_2D);
        VIZ_ASSERT(!gl::getError());
    }
}

// Decoded images have tightly packed rows; an alignment the row length does not meet would make
// GL skip bytes at every row end and read past the pixel array.
void fitUnpackAlignment(Texture2dConfig& config, int width, int channels) {
    const int rowBytes = width * channels;
    if (config.unpackAlignment > 1 && rowBytes % config.unpackAlignment != 0) {
        config.unpackAlignment = 1;
    }
}

struct LoadedImage {
    fs::TextureData pixels;
    int width = 0;
    int height = 0;
    int channels = 0;
};

LoadedImage loadImage(const char* path) {
    LoadedImage image;
    image.pixels = fs::loadResourceTextureData(path, &image.width, &image.height, &image.channels);
    if (image.pixels == nullptr) {
        // A file that was read but not decoded must not pass the channel check.
        image.width = image.height = image.channels = 0;
    }
    return image;
}

}  // namespace

ImageChannelValidation validateImageDataNumChannels(int numChannels, Texture2dConfig& config) {
    GLenum fitting = 0;
    bool accepted = false;
    switch (numChannels) {
        case 1:
            fitting = GL_LUMINANCE;
            accepted = config.internalFormat == GL_ALPHA || config.internalFormat == GL_LUMINANCE;
            break;
        case 3:
            fitting = GL_RGB;
            accepted = config.internalFormat == GL_RGB;
            break;
        case 4:
            fitting = GL_RGBA;
            accepted = config.internalFormat == GL_RGBA;
            break;
        default:
            logMessage("[Texture2D][validateImageDataChannels] Unsupported num channels %i\n",
                       numChannels);
            return ImageChannelValidation::Unsupported;
    }
    if (accepted) {
        return ImageChannelValidation::Valid;
    }
    logMessage(
        "[Texture2D][validateImageDataNumChannels] Image data channel format %s not matching "
        "desired format %s. Switching to image data format.\n",
        formatName(fitting), formatName(config.internalFormat));
    config.format = fitting;
    config.internalFormat = fitting;
    return ImageChannelValidation::Corrected;
}

Texture2d* createTexture2d(const void* pixels, GLuint width, GLuint height,
                           const Texture2dConfig& config) {
    auto* texture = new Texture2d();
    glGenTextures(1, &texture->id);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    VIZ_ASSERT(!gl::getError());
    defineImage(pixels, width, height, config);
    texture->width = width;
    texture->height = height;
    texture->config = config;
    glBindTexture(GL_TEXTURE_2D, texture2dCurrent != nullptr ? texture2dCurrent->id : 0);
    return texture;
}

Texture2d* createTexture2d(GLuint width, GLuint height, const Texture2dConfig& config) {
    return createTexture2d(nullptr, width, height, config);
}

Texture2d* createTexture2dStorage(GLuint width, GLuint height, GLsizei levels,
                                  const Texture2dConfig& config) {
    VIZ_ASSERT((config.format == GL_RGB || config.format == GL_RGBA) &&
               config.type == GL_UNSIGNED_BYTE && "Texture storage format not supported");
    auto* texture = new Texture2d();
    glGenTextures(1, &texture->id);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glTexStorage2D(GL_TEXTURE_2D, levels, config.format == GL_RGB ? GL_RGB8 : GL_RGBA8,
                   static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    VIZ_ASSERT(!gl::getError());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(config.minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(config.magFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, static_cast<GLint>(config.wrapS));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, static_cast<GLint>(config.wrapT));
    VIZ_ASSERT(!gl::getError());
    texture->width = width;
    texture->height = height;
    texture->config = config;
    glBindTexture(GL_TEXTURE_2D, texture2dCurrent != nullptr ? texture2dCurrent->id : 0);
    return texture;
}

void texSubImage2d(GLint level, GLuint y, GLuint width, GLuint rows, const void* pixels) {
    VIZ_ASSERT(texture2dCurrent != nullptr && "Texture 2d not valid");
    const Texture2dConfig& config = texture2dCurrent->config;
    prepareUpload(config.unpackAlignment);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, static_cast<GLint>(y), static_cast<GLsizei>(width),
                    static_cast<GLsizei>(rows), config.format, config.type, pixels);
    VIZ_ASSERT(!gl::getError());
}

Texture2d* createTexture2d(const char* path, const Texture2dConfig& config) {
    LoadedImage image = loadImage(path);
    Texture2dConfig checked = config;
    const ImageChannelValidation outcome = validateImageDataNumChannels(image.channels, checked);
    if (outcome == ImageChannelValidation::Unsupported) {
        logMessage("[Texture2D][%s] Unsupported num channels, image asset: %s\n", "createTexture2d",
                   path);
        return createTexture2d(nullptr, 1, 1, Texture2dConfig());
    }
    if (outcome == ImageChannelValidation::Corrected) {
        logMessage("[Texture2D][%s] Config format corrected, image asset: %s\n", "createTexture2d",
                   path);
    }
    fitUnpackAlignment(checked, image.width, image.channels);
    return createTexture2d(image.pixels.get(), static_cast<GLuint>(image.width),
                           static_cast<GLuint>(image.height), checked);
}

void texImage2d(const void* pixels, GLuint width, GLuint height, const Texture2dConfig& config) {
    VIZ_ASSERT(texture2dCurrent != nullptr && "Texture 2d not valid");
    defineImage(pixels, width, height, config);
    texture2dCurrent->width = width;
    texture2dCurrent->height = height;
    texture2dCurrent->config = config;
}

void texImage2d(const void* pixels, GLuint width, GLuint height, bool generateMipmap) {
    VIZ_ASSERT(texture2dCurrent != nullptr && "Texture 2d not valid");
    Texture2dConfig& config = texture2dCurrent->config;
    prepareUpload(config.unpackAlignment);
    glTexImage2D(GL_TEXTURE_2D, config.level, static_cast<GLint>(config.internalFormat),
                 static_cast<GLsizei>(width), static_cast<GLsizei>(height), config.border,
                 config.format, config.type, pixels);
    texture2dCurrent->width = width;
    texture2dCurrent->height = height;
    config.generateMipmap = generateMipmap;
    VIZ_ASSERT(!gl::getError());
    if (generateMipmap) {
        glGenerateMipmap(GL_TEXTURE_2D);
    }
}

void texImage2d(const char* path, bool generateMipmap) {
    VIZ_ASSERT(texture2dCurrent != nullptr && "Texture 2d not valid");
    LoadedImage image = loadImage(path);
    Texture2dConfig& config = texture2dCurrent->config;
    const ImageChannelValidation outcome = validateImageDataNumChannels(image.channels, config);
    if (outcome == ImageChannelValidation::Unsupported) {
        logMessage("[Texture2D][%s] Unsupported num channels, image asset: %s\n", "texImage2d",
                   path);
        // An empty image has no levels to derive mipmaps from.
        texImage2d(nullptr, 0, 0, false);
        return;
    }
    if (outcome == ImageChannelValidation::Corrected) {
        logMessage("[Texture2D][%s] Config format corrected, image asset: %s\n", "texImage2d",
                   path);
    }
    fitUnpackAlignment(config, image.width, image.channels);
    texImage2d(image.pixels.get(), static_cast<GLuint>(image.width),
               static_cast<GLuint>(image.height), generateMipmap);
}

void activeTexture(GLuint unit) {
    VIZ_ASSERT(unit < kTextureUnitCount && "Texture unit not valid");
    const auto index = static_cast<GLint>(unit);
    if (index == textureUnitCurrent) {
        return;
    }
    if (textureUnitCurrent >= 0) {
        texture2dCurrentUnits[textureUnitCurrent] = texture2dCurrent;
    }
    glActiveTexture(GL_TEXTURE0 + unit);
    textureUnitCurrent = index;
    texture2dCurrent = texture2dCurrentUnits[unit];
}

void bindTexture2d(Texture2d* texture) {
    VIZ_ASSERT(texture != nullptr && "Texture 2d not valid");
    if (texture != texture2dCurrent) {
        glBindTexture(GL_TEXTURE_2D, texture->id);
        texture2dCurrent = texture;
    }
}

void unbindTexture2d() {
    texture2dCurrent = nullptr;
    glBindTexture(GL_TEXTURE_2D, 0);
}

void deleteTexture2d(Texture2d*& texture) {
    VIZ_ASSERT(texture != nullptr && "Texture 2d not valid");
    glDeleteTextures(1, &texture->id);
    // GL unbinds a deleted texture from every unit that held it.
    if (texture2dCurrent == texture) {
        texture2dCurrent = nullptr;
    }
    for (Texture2d*& record : texture2dCurrentUnits) {
        if (record == texture) {
            record = nullptr;
        }
    }
    delete texture;
    texture = nullptr;
    VIZ_ASSERT(!gl::getError());
}

}  // namespace gl

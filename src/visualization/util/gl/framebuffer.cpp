#include "visualization/util/gl/framebuffer.h"

#include "visualization/log.h"
#include "visualization/util/assert.h"
#include "visualization/util/gl/buffer.h"

namespace gl {

Framebuffer* framebufferCurrent = nullptr;
Framebuffer* framebufferDrawCurrent = nullptr;
Framebuffer* framebufferReadCurrent = nullptr;

namespace {

const char* statusName(GLenum status) {
    switch (status) {
        case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT:
            return "GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT";
        case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT:
            return "GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT";
        case GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS:
            return "GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS";
        case GL_FRAMEBUFFER_UNSUPPORTED:
            return "GL_FRAMEBUFFER_UNSUPPORTED";
        default:
            return nullptr;
    }
}

GLuint idOf(const Framebuffer* framebuffer) {
    return framebuffer != nullptr ? framebuffer->id : 0;
}

void attach(GLenum attachment, const Texture2d* texture) {
    glFramebufferTexture2D(GL_FRAMEBUFFER, attachment, GL_TEXTURE_2D, texture->id, 0);
    VIZ_ASSERT(!getFramebufferError());
}

std::vector<Texture2d*> createColorTextures(GLuint width, GLuint height,
                                            const std::vector<Texture2dConfig>& configs) {
    std::vector<Texture2d*> textures;
    textures.reserve(configs.size());
    for (const Texture2dConfig& config : configs) {
        textures.push_back(createTexture2d(width, height, config));
    }
    return textures;
}

}  // namespace

bool getFramebufferError() {
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE) {
        return false;
    }
    if (const char* name = statusName(status)) {
        logMessage("FRAMEBUFFER ERROR %s", name);
    } else {
        logMessage("FRAMEBUFFER ERROR 0x%X", status);
    }
    return true;
}

Framebuffer* createFramebuffer(std::vector<Texture2d*>& colorTextures, Texture2d* depthAttachment,
                               Texture2d* depthStencilAttachment) {
    VIZ_ASSERT(!(depthAttachment != nullptr && depthStencilAttachment != nullptr) &&
               "Invalid double attachment");
    auto* framebuffer = new Framebuffer();
    glGenFramebuffers(1, &framebuffer->id);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer->id);
    VIZ_ASSERT(!gl::getError());

    for (size_t i = 0; i < colorTextures.size(); ++i) {
        Texture2d* texture = colorTextures[i];
        const GLenum attachment = GL_COLOR_ATTACHMENT0 + static_cast<GLenum>(i);
        attach(attachment, texture);
        framebuffer->width = texture->width;
        framebuffer->height = texture->height;
        framebuffer->colorAttachments.push_back(texture);
        framebuffer->drawBuffers.push_back(attachment);
    }
    glDrawBuffers(static_cast<GLsizei>(framebuffer->drawBuffers.size()),
                  framebuffer->drawBuffers.data());
    VIZ_ASSERT(!gl::getError());

    if (depthAttachment != nullptr) {
        attach(GL_DEPTH_ATTACHMENT, depthAttachment);
        framebuffer->depthAttachment = depthAttachment;
    }
    if (depthStencilAttachment != nullptr) {
        attach(GL_DEPTH_STENCIL_ATTACHMENT, depthStencilAttachment);
        framebuffer->depthStencilAttachment = depthStencilAttachment;
    }
    VIZ_ASSERT(!gl::getError());

    // Restore what the records say GL had, split bindings included.
    if (framebufferCurrent != nullptr) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebufferCurrent->id);
    } else if (framebufferDrawCurrent == nullptr && framebufferReadCurrent == nullptr) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    } else {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, idOf(framebufferDrawCurrent));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, idOf(framebufferReadCurrent));
    }
    return framebuffer;
}

Framebuffer* createFramebuffer(GLuint width, GLuint height,
                               const std::vector<Texture2dConfig>& colorConfigs) {
    std::vector<Texture2d*> textures = createColorTextures(width, height, colorConfigs);
    return createFramebuffer(textures, nullptr, nullptr);
}

Framebuffer* createFramebuffer(GLuint width, GLuint height, const Texture2dConfig& colorConfig) {
    return createFramebuffer(width, height, std::vector<Texture2dConfig>{colorConfig});
}

Framebuffer* createFramebufferDepth(GLuint width, GLuint height,
                                    const std::vector<Texture2dConfig>& colorConfigs,
                                    const Texture2dConfig& depthConfig) {
    std::vector<Texture2d*> textures = createColorTextures(width, height, colorConfigs);
    return createFramebuffer(textures, createTexture2d(width, height, depthConfig), nullptr);
}

Framebuffer* createFramebufferDepth(GLuint width, GLuint height, const Texture2dConfig& colorConfig,
                                    const Texture2dConfig& depthConfig) {
    return createFramebufferDepth(width, height, std::vector<Texture2dConfig>{colorConfig},
                                  depthConfig);
}

Framebuffer* createFramebufferDepthStencil(GLuint width, GLuint height,
                                           const std::vector<Texture2dConfig>& colorConfigs,
                                           const Texture2dConfig& depthStencilConfig) {
    std::vector<Texture2d*> textures = createColorTextures(width, height, colorConfigs);
    return createFramebuffer(textures, nullptr, createTexture2d(width, height, depthStencilConfig));
}

Framebuffer* createFramebufferDepthStencil(GLuint width, GLuint height,
                                           const Texture2dConfig& colorConfig,
                                           const Texture2dConfig& depthStencilConfig) {
    return createFramebufferDepthStencil(width, height, std::vector<Texture2dConfig>{colorConfig},
                                         depthStencilConfig);
}

void bindFramebuffer(Framebuffer* framebuffer) {
    VIZ_ASSERT(framebuffer != nullptr && "Framebuffer not valid");
    if (framebuffer != framebufferCurrent) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer->id);
        framebufferCurrent = framebufferDrawCurrent = framebufferReadCurrent = framebuffer;
    }
}

void unbindFramebuffer() {
    framebufferCurrent = framebufferDrawCurrent = framebufferReadCurrent = nullptr;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void bindFramebufferDraw(Framebuffer* framebuffer) {
    VIZ_ASSERT(framebuffer != nullptr && "Framebuffer not valid");
    if (framebuffer != framebufferDrawCurrent && framebuffer != framebufferCurrent) {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer->id);
        framebufferDrawCurrent = framebuffer;
        framebufferCurrent = nullptr;
        if (framebufferReadCurrent == framebuffer) {
            framebufferReadCurrent = nullptr;
        }
    }
}

void unbindFramebufferDraw() {
    framebufferCurrent = nullptr;
    framebufferDrawCurrent = nullptr;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
}

void bindFramebufferRead(Framebuffer* framebuffer) {
    VIZ_ASSERT(framebuffer != nullptr && "Framebuffer not valid");
    if (framebuffer != framebufferReadCurrent && framebuffer != framebufferCurrent) {
        glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer->id);
        framebufferReadCurrent = framebuffer;
        framebufferCurrent = nullptr;
        if (framebufferDrawCurrent == framebuffer) {
            framebufferDrawCurrent = nullptr;
        }
    }
}

void unbindFramebufferRead() {
    framebufferCurrent = nullptr;
    framebufferReadCurrent = nullptr;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

void deleteFramebuffer(Framebuffer*& framebuffer, bool deleteAttachments) {
    VIZ_ASSERT(framebuffer != nullptr && "Framebuffer not valid");
    glDeleteFramebuffers(1, &framebuffer->id);
    // GL unbinds a deleted framebuffer from every target that held it.
    if (framebufferCurrent == framebuffer) {
        framebufferCurrent = nullptr;
    }
    if (framebufferDrawCurrent == framebuffer) {
        framebufferDrawCurrent = nullptr;
    }
    if (framebufferReadCurrent == framebuffer) {
        framebufferReadCurrent = nullptr;
    }
    if (deleteAttachments) {
        for (Texture2d*& texture : framebuffer->colorAttachments) {
            deleteTexture2d(texture);
        }
        if (framebuffer->depthAttachment != nullptr) {
            deleteTexture2d(framebuffer->depthAttachment);
        }
        if (framebuffer->depthStencilAttachment != nullptr) {
            deleteTexture2d(framebuffer->depthStencilAttachment);
        }
    }
    delete framebuffer;
    framebuffer = nullptr;
    VIZ_ASSERT(!gl::getError());
}

}  // namespace gl

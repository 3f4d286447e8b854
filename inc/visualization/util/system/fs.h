// File access for the library's assets: the resource directory the host names at start, whole-file
// reads, image decoding and directory listing. Failures are logged and answered with empty
// results; nothing here throws. Render thread only; the resource path is a plain module variable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fs {

class DecodeArena;

// Frees pixels with the image decoder's own allocator, and the mapping they were decoded in, if
// any.
struct PixelDeleter {
    DecodeArena* arena = nullptr;
    void operator()(unsigned char* pixels) const;
};
// 8-bit channels, row-major, top row first, in the file's own channel order; null on failure.
using TextureData = std::unique_ptr<unsigned char, PixelDeleter>;

// Stored without separators at either end (slashes, then backslashes): "/opt/app/res/" becomes
// "opt/app/res", which later loads resolve against the working directory.
void setResourcePath(const char* path);
const std::string& getResourcePath();
std::string getResourceFilepath(const std::string& relativePath);

// A regular file opened for reading, or nothing: a named pipe, a device, a directory or a path
// that cannot be opened all leave it closed. Opening never blocks, and what is read is bounded by
// the size the file had when it was opened.
class RegularFile {
public:
    explicit RegularFile(const char* path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool isOpen() const { return mFd >= 0; }
    size_t size() const { return mSize; }
    // Reads up to `size` bytes from where the last read stopped; returns how many it read.
    size_t read(void* into, size_t size);

private:
    int mFd = -1;
    size_t mSize = 0;
};

std::vector<uint8_t> loadBinary(const char* path);
std::string loadString(const char* path);
// Writes width, height and channels only when the file could be read. The file, the decoder's
// work and the pixels live in a mapping of their own that goes back to the system with the pixels:
// images loaded at every creation of an instance leave no gaps in the heap.
TextureData loadTextureData(const char* path, int* width, int* height, int* channels);

// The longest side of an image the library decodes: the largest texture every OpenGL ES 3.0
// device holds (GL_MAX_TEXTURE_SIZE is at least 2048), so a decoded image always uploads. It also
// bounds the decoder, which allocates the whole picture its header claims before reading a pixel:
// a file of a few hundred bytes could otherwise cost gigabytes and minutes.
constexpr int kMaxImageSide = 2048;
// The largest image file read at all; every format the decoder takes holds an image of at most
// kMaxImageSide on a side in less (a 16-bit four-channel one uncompressed is 32 MB). A larger file
// is taken as unreadable.
constexpr size_t kMaxImageFileBytes = 48u << 20;
// Decodes image file bytes, without logging (any thread); null when they are not an image, claim
// a side above kMaxImageSide or hold a JPEG Huffman table the decoder would overrun. Writes the
// shape only for a decoded image.
TextureData decodeTextureData(const std::vector<uint8_t>& bytes, int* width, int* height,
                              int* channels);
TextureData decodeTextureData(const uint8_t* bytes, size_t size, int* width, int* height,
                              int* channels);
// False for JPEG bytes whose Huffman tables the decoder would overrun or read uninitialised (a
// table of more than 256 codes, a scan naming a table nothing defined); true for anything else.
bool huffmanTablesFit(const std::vector<uint8_t>& bytes);
bool huffmanTablesFit(const uint8_t* bytes, size_t size);

std::vector<uint8_t> loadResourceBinary(const std::string& relativePath);
std::string loadResourceString(const std::string& relativePath);
TextureData loadResourceTextureData(const std::string& relativePath, int* width, int* height,
                                    int* channels);

// Entry names of every type except "." and "..", in the order the system returns them.
std::vector<std::string> getDirectoryFilenames(const char* path);
// "<path>/<name>" for each entry name, in the same order.
std::vector<std::string> getDirectoryFilepaths(const char* path);

}  // namespace fs

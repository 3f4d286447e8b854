#include "visualization/util/system/fs.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "visualization/log.h"
#include "visualization/util/system/decode_arena.h"
#include "visualization/util/system/image_decoder.h"

// A build of its own on a 32-bit system must define _FILE_OFFSET_BITS=64 as CMakeLists.txt does,
// or readdir and stat fail on large directory offsets and inode numbers.
static_assert(sizeof(off_t) == 8 && sizeof(ino_t) == 8, "build with -D_FILE_OFFSET_BITS=64");

namespace fs {

namespace {

std::string gResourcePath;

// Address space for loading one image on the render thread: what decoding the largest image takes,
// with its file. Only the pages used become resident, and only until the pixels go.
constexpr size_t kTextureArenaBytes = 96u << 20;

void trimEnds(std::string& text, char c) {
    const size_t end = text.find_last_not_of(c);
    text.erase(end == std::string::npos ? 0 : end + 1);
    text.erase(0, text.find_first_not_of(c));
}

}  // namespace

// Opened without blocking, so that a named pipe answers at once instead of waiting for a writer,
// and judged by what was opened, not by a look at the path before: only a regular file is an
// asset. A directory would report an absurd size, a pipe block the reader and a device such as
// /dev/zero never end.
RegularFile::RegularFile(const char* path) {
    if (path == nullptr) {
        return;
    }
    mFd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (mFd < 0) {
        return;
    }
    struct stat status;
    if (::fstat(mFd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size < 0) {
        ::close(mFd);
        mFd = -1;
        return;
    }
    mSize = static_cast<size_t>(status.st_size);
}

RegularFile::~RegularFile() {
    if (mFd >= 0) {
        ::close(mFd);
    }
}

size_t RegularFile::read(void* into, size_t size) {
    size_t done = 0;
    while (mFd >= 0 && done < size) {
        const ssize_t got = ::read(mFd, static_cast<char*>(into) + done, size - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return done;
}

// Two faults of the JPEG decoder are checked before it runs, on every two bytes that could start
// a segment, read the way the decoder reads them: after any run of 0xFF fill bytes, and with zeros
// past the end of the file, where a segment cut short still declares what the decoder reads.
// Entropy-coded data never holds such a pair (its 0xFF bytes are followed by 0x00), other segments
// rarely, and a photograph refused by mistake is only not shown.
// - It builds each Huffman table into arrays of 256 symbols without checking that the table's
//   sixteen code counts add up to no more, so a crafted table writes past them.
// - It allocates its tables without clearing them, and a scan may name a table that no
//   definition before it filled: the decoder then decodes with whatever the memory held (it read
//   64 KB past a table of 256 symbols). A progressive image's first scan of the DC coefficients
//   reads no AC table.
bool huffmanTablesFit(const std::vector<uint8_t>& bytes) {
    return huffmanTablesFit(bytes.data(), bytes.size());
}

bool huffmanTablesFit(const uint8_t* bytes, size_t size) {
    size_t start = 0;
    while (start < size && bytes[start] == 0xFF) {
        ++start;
    }
    if (start == 0 || start >= size || bytes[start] != 0xD8) {
        return true;
    }
    auto at = [&](size_t i) -> long { return i < size ? bytes[i] : 0; };
    bool defined[2][4] = {};  // by class (DC, AC) and destination
    bool progressive = false;
    for (size_t marker = start + 1; marker + 1 < size; ++marker) {
        if (bytes[marker] != 0xFF) {
            continue;
        }
        const uint8_t kind = bytes[marker + 1];
        if (kind == 0xC0 || kind == 0xC1 || kind == 0xC2) {
            progressive = kind == 0xC2;
        } else if (kind == 0xC4) {
            long remaining = ((at(marker + 2) << 8) | at(marker + 3)) - 2;
            size_t table = marker + 4;
            while (remaining > 0 && table < size) {
                const long destination = at(table);
                if ((destination >> 4) <= 1 && (destination & 15) <= 3) {
                    defined[destination >> 4][destination & 15] = true;
                }
                long symbols = 0;
                for (size_t i = 1; i <= 16; ++i) {
                    symbols += at(table + i);
                }
                if (symbols > 256) {
                    return false;
                }
                table += 17 + static_cast<size_t>(symbols);
                remaining -= 17 + symbols;
            }
        } else if (kind == 0xDA) {
            const long count = std::min(at(marker + 4), 4L);
            const size_t components = marker + 5;
            const long spectralStart = at(components + 2 * static_cast<size_t>(count));
            const long spectralEnd = at(components + 2 * static_cast<size_t>(count) + 1);
            const bool readsAc = !(progressive && spectralStart == 0 && spectralEnd == 0);
            for (long c = 0; c < count; ++c) {
                const long tables = at(components + 2 * static_cast<size_t>(c) + 1);
                const long dc = tables >> 4;
                const long ac = tables & 15;
                // Destinations beyond 3 the decoder refuses itself.
                if ((dc <= 3 && !defined[0][dc]) || (readsAc && ac <= 3 && !defined[1][ac])) {
                    return false;
                }
            }
        }
    }
    return true;
}

void PixelDeleter::operator()(unsigned char* pixels) const {
    decoder::release(pixels);
    delete arena;
}

void setResourcePath(const char* path) {
    gResourcePath = path != nullptr ? path : "";
    trimEnds(gResourcePath, '/');
    trimEnds(gResourcePath, '\\');
}

const std::string& getResourcePath() {
    return gResourcePath;
}

std::string getResourceFilepath(const std::string& relativePath) {
    return gResourcePath + "/" + relativePath;
}

std::vector<uint8_t> loadBinary(const char* path) {
    RegularFile file(path);
    if (!file.isOpen()) {
        logMessage("[fs] Binary could not be loaded: %s\n", path);
        return {};
    }
    // What the file held when it was opened: a file that grows meanwhile is not followed.
    std::vector<uint8_t> bytes(file.size());
    bytes.resize(file.read(bytes.data(), bytes.size()));
    return bytes;
}

std::string loadString(const char* path) {
    RegularFile file(path);
    if (!file.isOpen()) {
        logMessage("[fs] String could not be loaded: %s\n", path);
        return {};
    }
    std::string text(file.size(), '\0');
    text.resize(file.read(&text[0], text.size()));
    return text;
}

TextureData loadTextureData(const char* path, int* width, int* height, int* channels) {
    RegularFile file(path);
    if (!file.isOpen()) {
        logMessage("[fs] Binary could not be loaded: %s\n", path);
    }
    const size_t size = file.size() <= kMaxImageFileBytes ? file.size() : 0;
    auto arena = std::make_unique<DecodeArena>(kTextureArenaBytes);
    const DecodeArena::Scope scope(*arena);
    auto* bytes = size > 0 ? static_cast<uint8_t*>(decoderAllocate(size)) : nullptr;
    const size_t read = bytes != nullptr ? file.read(bytes, size) : 0;
    TextureData pixels;
    int claimedWidth = 0;
    int claimedHeight = 0;
    int claimedChannels = 0;
    if (read == 0) {
        logMessage("[fs] Error loading texture data: %s\n", path);
    } else if (huffmanTablesFit(bytes, read) &&
               decoder::info(bytes, static_cast<int>(read), &claimedWidth, &claimedHeight,
                             &claimedChannels) &&
               (claimedWidth > kMaxImageSide || claimedHeight > kMaxImageSide)) {
        logMessage("[fs] Image too large: %s (%dx%d, at most %d on a side)\n", path, claimedWidth,
                   claimedHeight, kMaxImageSide);
    } else {
        pixels = decodeTextureData(bytes, read, width, height, channels);
    }
    decoderFree(bytes);
    if (pixels) {
        pixels.get_deleter().arena = arena.release();
    }
    return pixels;
}

TextureData decodeTextureData(const std::vector<uint8_t>& bytes, int* width, int* height,
                              int* channels) {
    return decodeTextureData(bytes.data(), bytes.size(), width, height, channels);
}

TextureData decodeTextureData(const uint8_t* bytes, size_t size, int* width, int* height,
                              int* channels) {
    if (bytes == nullptr || size == 0 || size > kMaxImageFileBytes) {
        return TextureData(nullptr);
    }
    const int length = static_cast<int>(size);
    int w = 0;
    int h = 0;
    int c = 0;
    // Reading the header alone builds the Huffman tables already.
    if (!huffmanTablesFit(bytes, size) || !decoder::info(bytes, length, &w, &h, &c) ||
        w > kMaxImageSide || h > kMaxImageSide) {
        return TextureData(nullptr);
    }
    TextureData pixels(decoder::load(bytes, length, &w, &h, &c));
    if (pixels != nullptr) {
        if (width != nullptr) {
            *width = w;
        }
        if (height != nullptr) {
            *height = h;
        }
        if (channels != nullptr) {
            *channels = c;
        }
    }
    return pixels;
}

std::vector<uint8_t> loadResourceBinary(const std::string& relativePath) {
    return loadBinary(getResourceFilepath(relativePath).c_str());
}

std::string loadResourceString(const std::string& relativePath) {
    return loadString(getResourceFilepath(relativePath).c_str());
}

TextureData loadResourceTextureData(const std::string& relativePath, int* width, int* height,
                                    int* channels) {
    return loadTextureData(getResourceFilepath(relativePath).c_str(), width, height, channels);
}

std::vector<std::string> getDirectoryFilenames(const char* path) {
    std::vector<std::string> names;
    if (path == nullptr) {
        return names;
    }
    errno = 0;
    DIR* directory = ::opendir(path);
    if (directory == nullptr) {
        return names;
    }
    int readError = 0;
    for (;;) {
        // readdir signals the end and an error alike with null; only errno tells them apart, and
        // the appends in between may leave it set, so it is cleared before every call.
        errno = 0;
        const dirent* entry = ::readdir(directory);
        if (entry == nullptr) {
            readError = errno;
            break;
        }
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(directory);
    if (readError != 0) {
        // A partial listing still lets the caller use what was found.
        logMessage("[fs] Directory could not be read completely: %s (%s)\n", path,
                   std::strerror(readError));
    }
    return names;
}

std::vector<std::string> getDirectoryFilepaths(const char* path) {
    std::vector<std::string> paths = getDirectoryFilenames(path);
    for (std::string& name : paths) {
        name = format("%s/%s", path, name.c_str());
    }
    return paths;
}

}  // namespace fs

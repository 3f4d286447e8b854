// The image decoder and the resampler, compiled here from their single headers so that what they
// allocate goes through decoderAllocate (decode_arena.h): the copies in the system's shared
// library allocate from the heap, which no caller can steer. Any thread; nothing here logs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fs {
namespace decoder {

// The image's shape from its header alone; false when the bytes are not an image it knows.
bool info(const uint8_t* bytes, int size, int* width, int* height, int* channels);
// The pixels in the file's own channel count, top row first; null when they cannot be decoded.
// Released with release().
unsigned char* load(const uint8_t* bytes, int size, int* width, int* height, int* channels);
void release(unsigned char* pixels);

// Resamples 8-bit pixels of `channels` channels to another size, treating the picture as one that
// repeats beyond its edges (as a texture with wrap mode repeat is sampled). `box` halves with a
// box filter, as mipmaps are made; otherwise the resampler's default filter for the direction.
bool resize(const unsigned char* source, int sourceWidth, int sourceHeight, unsigned char* target,
            int targetWidth, int targetHeight, int channels, bool box);

}  // namespace decoder
}  // namespace fs

// Memory for decoding images that lies beside the heap: mapped from the system once, at the
// largest size a photograph needs, handed out by bumping a pointer and taken back whole.
//
// Decoding a photograph allocates and frees again blocks of megabytes (the file, the decoder's
// planes and output, the resampler's rows). From the heap, blocks that large come and go between
// the small ones that live on, and the allocator keeps ever more free memory in the gaps: resident
// memory grew by tens of megabytes an hour while a kaleidoscope played. Here nothing of a
// photograph touches the heap, and the mapping goes back to the system whole when its owner goes.
//
// While a Scope lives, every allocation the image decoder and the resampler make on that thread
// comes from the arena (decoderAllocate and friends below are what they call); a request the
// arena cannot hold falls back to the heap, so a larger image than foreseen still decodes.
#pragma once

#include <cstddef>

namespace fs {

class DecodeArena {
public:
    // Reserves `capacity` bytes of address space; pages become resident as they are first used
    // and stay so until releasePages or the arena goes. A failed mapping leaves an arena that
    // holds nothing.
    explicit DecodeArena(size_t capacity);
    ~DecodeArena();
    DecodeArena(const DecodeArena&) = delete;
    DecodeArena& operator=(const DecodeArena&) = delete;

    // Forgets every block: the next photograph starts from the beginning again.
    void reset() { mUsed = 0; }
    // Gives the pages used so far back to the system (after reset): between photographs the
    // arena then costs no resident memory, and the next one is handed fresh zeroed pages.
    void releasePages();

    // Routes this thread's decoder allocations to the arena for as long as it lives.
    class Scope {
    public:
        explicit Scope(DecodeArena& arena);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        DecodeArena* mPrevious;
    };

private:
    friend void* decoderAllocate(size_t size);
    friend void* decoderReallocate(void* block, size_t size);
    friend void decoderFree(void* block);

    void* allocate(size_t size);
    // Grows or shrinks the newest block in place; null for any other block or when full.
    void* resizeLast(void* block, size_t size);
    void release(void* block);

    unsigned char* mBase = nullptr;
    size_t mCapacity = 0;
    size_t mUsed = 0;
    size_t mLast = 0;      // offset of the newest block's header
    size_t mResident = 0;  // how far pages may have been touched since the last release
};

// What the image decoder and the resampler allocate with: from the arena of the thread's Scope
// when there is one and it has room, else from the heap. Any thread may free or grow a block,
// whichever it came from.
void* decoderAllocate(size_t size);
void* decoderReallocate(void* block, size_t size);
void decoderFree(void* block);

}  // namespace fs

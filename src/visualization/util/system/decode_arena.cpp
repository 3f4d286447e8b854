#include "visualization/util/system/decode_arena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace fs {

namespace {

// Every block, from the arena or the heap, starts with this, so that whichever thread frees or
// grows a block knows where it came from.
struct alignas(16) BlockHeader {
    size_t size;
    DecodeArena* arena;  // null: from the heap
};
constexpr size_t kHeader = sizeof(BlockHeader);
constexpr size_t kAlign = 16;

thread_local DecodeArena* tArena = nullptr;

size_t roundUp(size_t size) {
    return (size + kAlign - 1) & ~(kAlign - 1);
}

BlockHeader* headerOf(void* block) {
    return reinterpret_cast<BlockHeader*>(static_cast<unsigned char*>(block) - kHeader);
}

void* fromHeap(size_t size) {
    auto* header = static_cast<BlockHeader*>(std::malloc(kHeader + size));
    if (header == nullptr) {
        return nullptr;
    }
    header->size = size;
    header->arena = nullptr;
    return header + 1;
}

}  // namespace

DecodeArena::DecodeArena(size_t capacity) {
    void* base = ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base != MAP_FAILED) {
        mBase = static_cast<unsigned char*>(base);
        mCapacity = capacity;
    }
}

DecodeArena::~DecodeArena() {
    if (mBase != nullptr) {
        ::munmap(mBase, mCapacity);
    }
}

void DecodeArena::releasePages() {
    const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
    const size_t length = (mResident + page - 1) / page * page;
    if (mBase != nullptr && length > 0 && mUsed == 0) {
        ::madvise(mBase, length < mCapacity ? length : mCapacity, MADV_DONTNEED);
        mResident = 0;
    }
}

DecodeArena::Scope::Scope(DecodeArena& arena) : mPrevious(tArena) {
    tArena = &arena;
}

DecodeArena::Scope::~Scope() {
    tArena = mPrevious;
}

void* DecodeArena::allocate(size_t size) {
    if (size > mCapacity || mCapacity - mUsed < kHeader + roundUp(size)) {
        return nullptr;
    }
    auto* header = reinterpret_cast<BlockHeader*>(mBase + mUsed);
    header->size = size;
    header->arena = this;
    mLast = mUsed;
    mUsed += kHeader + roundUp(size);
    if (mUsed > mResident) {
        mResident = mUsed;
    }
    return header + 1;
}

void* DecodeArena::resizeLast(void* block, size_t size) {
    const size_t offset = static_cast<size_t>(static_cast<unsigned char*>(block) - mBase) - kHeader;
    if (offset != mLast || size > mCapacity || mCapacity - offset < kHeader + roundUp(size)) {
        return nullptr;
    }
    headerOf(block)->size = size;
    mUsed = offset + kHeader + roundUp(size);
    if (mUsed > mResident) {
        mResident = mUsed;
    }
    return block;
}

void DecodeArena::release(void* block) {
    // Only the newest block can be given back before the reset; the decoders free in the
    // reverse order of allocation often enough that this keeps the high water low.
    const size_t offset = static_cast<size_t>(static_cast<unsigned char*>(block) - mBase) - kHeader;
    if (offset == mLast && mUsed > offset) {
        mUsed = offset;
    }
}

void* decoderAllocate(size_t size) {
    if (tArena != nullptr) {
        if (void* block = tArena->allocate(size)) {
            return block;
        }
    }
    return fromHeap(size);
}

void* decoderReallocate(void* block, size_t size) {
    if (block == nullptr) {
        return decoderAllocate(size);
    }
    BlockHeader* header = headerOf(block);
    if (header->arena == nullptr) {
        auto* grown = static_cast<BlockHeader*>(std::realloc(header, kHeader + size));
        if (grown == nullptr) {
            return nullptr;
        }
        grown->size = size;
        return grown + 1;
    }
    if (void* resized = header->arena->resizeLast(block, size)) {
        return resized;
    }
    void* moved = decoderAllocate(size);
    if (moved != nullptr) {
        std::memcpy(moved, block, header->size < size ? header->size : size);
    }
    return moved;
}

void decoderFree(void* block) {
    if (block == nullptr) {
        return;
    }
    BlockHeader* header = headerOf(block);
    if (header->arena == nullptr) {
        std::free(header);
    } else {
        header->arena->release(block);
    }
}

}  // namespace fs

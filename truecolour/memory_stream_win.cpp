// GlobalMemoryStream: a global memory block and a COM stream built over it.
#include "truecolour/memory_stream_win.h"

#include <cstring>

namespace {

struct FreeGlobal {
    void operator()(void* block) const { GlobalFree(static_cast<HGLOBAL>(block)); }
};
// A block that its stream frees (fDeleteOnRelease) must not be freed a second time.
struct LeaveToStream {
    void operator()(void*) const {}
};

} // namespace

void GlobalMemoryStream::releaseStream() {
    if (stream) {
        stream->Release();
        stream = nullptr;
    }
}

void GlobalMemoryStream::release() {
    // The stream first: an owning stream frees the block with its last reference.
    releaseStream();
    freeBlock();
}

std::unique_ptr<GlobalMemoryStream> GlobalMemoryStream::copy() const {
    auto other = std::make_unique<GlobalMemoryStream>();
    other->block = block;
    other->blockOwner_ = blockOwner_;
    other->byteCount_ = byteCount_;
    other->stream = stream;
    if (stream) {
        stream->AddRef();
    }
    return other;
}

void GlobalMemoryStream::freeBlock() {
    if (block) {
        blockOwner_.reset();
        block = nullptr;
        byteCount_ = 0;
    }
}

IStream* GlobalMemoryStream::createStream(std::optional<std::string_view> bytes) {
    freeBlock();
    releaseStream();
    if (bytes) {
        HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, bytes->size());
        if (!fixed) {
            return nullptr;
        }
        block = fixed;
        blockOwner_ = std::shared_ptr<void>(fixed, FreeGlobal{});
        byteCount_ = bytes->size();
        if (void* p = GlobalLock(block)) {
            if (!bytes->empty()) {
                std::memcpy(p, bytes->data(), bytes->size());
            }
            GlobalUnlock(block);
        }
        if (FAILED(CreateStreamOnHGlobal(block, FALSE, &stream))) {
            stream = nullptr;
        }
    } else {
        HGLOBAL moveable = GlobalAlloc(GMEM_MOVEABLE, 0);
        if (!moveable) {
            return nullptr;
        }
        if (FAILED(CreateStreamOnHGlobal(moveable, TRUE, &stream))) {
            stream = nullptr;
            GlobalFree(moveable);
            return nullptr;
        }
        block = moveable;
        byteCount_ = 0;
        blockOwner_ = std::shared_ptr<void>(moveable, LeaveToStream{});
    }
    return stream;
}

SIZE_T GlobalMemoryStream::size() const { return block ? GlobalSize(block) : 0; }

std::string GlobalMemoryStream::readBytes() const {
    SIZE_T n = size();
    std::string out;
    if (n == 0) {
        return out;
    }
    if (const void* p = GlobalLock(block)) {
        out.assign(static_cast<const char*>(p), n);
        GlobalUnlock(block);
    }
    return out;
}

bool GlobalMemoryStream::holds(std::string_view bytes) const {
    if (!block || byteCount_ != bytes.size() || GlobalSize(block) < bytes.size()) {
        return false;
    }
    const void* p = GlobalLock(block);
    if (!p) {
        return false;
    }
    bool same = bytes.empty() || std::memcmp(p, bytes.data(), bytes.size()) == 0;
    GlobalUnlock(block);
    return same;
}

// GlobalMemoryStream: a global memory block and a COM stream built over it.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class GlobalMemoryStream {
public:
    GlobalMemoryStream() = default;
    GlobalMemoryStream(const GlobalMemoryStream&) = delete;
    GlobalMemoryStream& operator=(const GlobalMemoryStream&) = delete;
    virtual ~GlobalMemoryStream() { GlobalMemoryStream::release(); }

    // Frees the block and lets go of the stream.
    virtual void release();
    // A second object on the same block and stream; the block lives until both let go.
    virtual std::unique_ptr<GlobalMemoryStream> copy() const;
    virtual void freeBlock();
    // With bytes: a fixed block holding a copy of them, and a stream over it that leaves
    // the block alone. Without: an empty stream that grows and owns its block.
    virtual IStream* createStream(std::optional<std::string_view> bytes = std::nullopt);
    virtual IStream* getStream() const { return stream; }
    // The size of the block, not the stream's length.
    virtual SIZE_T size() const;
    virtual std::string readBytes() const;

    // True when the block was filled with exactly these bytes.
    bool holds(std::string_view bytes) const;

    HGLOBAL block = nullptr;
    IStream* stream = nullptr;

private:
    void releaseStream();
    // Shared by copies: the block is freed when the last object on it lets go.
    std::shared_ptr<void> blockOwner_;
    // How many bytes createStream copied in (the block may be larger).
    size_t byteCount_ = 0;
};

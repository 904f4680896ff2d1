// Decoding image files held in memory, and the lifetime of the decoded images.
#include "truecolour/image_decoding_win.h"
#include "truecolour/memory_stream_win.h"
#include "truecolour/module_win.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>

namespace {

// Everything a decoded image needs while it can still be drawn: GDI+ may read pixel
// data from the stream lazily, at the first draw.
struct DecodedImage {
    std::unique_ptr<GlobalMemoryStream> memory;
    int holds = 0;
    bool ownedByPanels = false;
    std::vector<ScaledImage> scaled;
};

// Never destroyed: at exit GDI+ may still hold the images, so their memory is left for
// the end of the process to reclaim.
std::map<GpImage*, DecodedImage>& registry() {
    static auto* images = new std::map<GpImage*, DecodedImage>();
    return *images;
}

// The frames shown lately, most recent first; each keeps a hold. Six is every built-in
// frame, so switching among them never decodes twice.
constexpr size_t kRecentlyShown = 6;
std::deque<GpImage*>& recentlyShown() {
    static std::deque<GpImage*> images;
    return images;
}

DecodedImage* find(GpImage* image) {
    auto& images = registry();
    auto it = images.find(image);
    return it == images.end() ? nullptr : &it->second;
}

} // namespace

GpImage* decodeImage(std::string_view bytes) {
    auto memory = std::make_unique<GlobalMemoryStream>();
    memory->createStream(bytes);
    IStream* stream = memory->getStream();
    if (!stream) {
        return nullptr;
    }
    GpImage* image = nullptr;
    if (gp::GdipLoadImageFromStream(stream, &image) != Gdiplus::Ok) {
        image = nullptr;
    }
    // An identifier that never got filled selects nothing; a still image has no time
    // dimension and keeps its only frame.
    static const GUID noDimension{};
    gp::GdipImageSelectActiveFrame(image, timeDimensionId ? timeDimensionId.get() : &noDimension, 0);
    if (!image) {
        return nullptr;
    }
    registry()[image].memory = std::move(memory);
    return image;
}

void disposeImage(GpImage* image) {
    if (!image) {
        return;
    }
    auto& images = registry();
    auto it = images.find(image);
    gp::GdipDisposeImage(image);
    if (it != images.end()) {
        // Only now that GDI+ is done with them: the stream, then the block.
        images.erase(it);
        auto& recent = recentlyShown();
        recent.erase(std::remove(recent.begin(), recent.end(), image), recent.end());
    }
}

size_t liveDecodedImageCount() { return registry().size(); }

namespace decodedImages {

bool isDecoded(GpImage* image) { return find(image) != nullptr; }

void hold(GpImage* image) {
    if (DecodedImage* d = find(image)) {
        ++d->holds;
    }
}

void letGo(GpImage* image) {
    DecodedImage* d = find(image);
    if (!d || d->holds == 0) {
        return;
    }
    if (--d->holds == 0 && d->ownedByPanels) {
        disposeImage(image);
    }
}

GpImage* decodeForPanels(std::string_view bytes) {
    auto& recent = recentlyShown();
    for (auto it = recent.begin(); it != recent.end(); ++it) {
        DecodedImage* d = find(*it);
        if (d && d->memory->holds(bytes)) {
            GpImage* image = *it;
            recent.erase(it);
            recent.push_front(image);
            return image;
        }
    }
    GpImage* image = decodeImage(bytes);
    if (!image) {
        return nullptr;
    }
    // The decoder keeps a copy of the pixels of its own beside the image's; a clone of
    // the image (its active frame, the one a panel draws) is the pixels alone. The bytes
    // stay, to be compared with the next ones.
    GpImage* compact = nullptr;
    if (gp::GdipCloneImage(image, &compact) == Gdiplus::Ok && compact) {
        auto& images = registry();
        auto node = images.extract(image);
        gp::GdipDisposeImage(image);
        node.key() = compact;
        images.insert(std::move(node));
        image = compact;
    }
    find(image)->ownedByPanels = true;
    hold(image);
    recent.push_front(image);
    if (recent.size() > kRecentlyShown) {
        GpImage* oldest = recent.back();
        recent.pop_back();
        letGo(oldest);
    }
    return image;
}

std::vector<ScaledImage>* scaledCopies(GpImage* image) {
    DecodedImage* d = find(image);
    return d ? &d->scaled : nullptr;
}

} // namespace decodedImages

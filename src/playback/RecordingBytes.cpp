#include "playback/RecordingBytes.h"

#include <mutex>

namespace kx {

namespace {

std::mutex& OpenerMutex() {
    static std::mutex mutex;
    return mutex;
}

CardFileOpener& Opener() {
    static CardFileOpener opener;
    return opener;
}

// The parse stage reads from its reader thread while the telemetry pull reads from the
// opener's thread; a card library is not assumed to allow that.
class SerialisedByteSource final : public ByteSource {
public:
    explicit SerialisedByteSource(std::unique_ptr<ByteSource> inner) : inner_(std::move(inner)) {}
    std::uint64_t Size() const override { return inner_->Size(); }
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const override {
        std::lock_guard lock(mutex_);
        return inner_->ReadAt(offset, buffer, size);
    }

private:
    std::unique_ptr<ByteSource> inner_;
    mutable std::mutex mutex_;
};

}  // namespace

void SetCardFileOpener(CardFileOpener opener) {
    std::lock_guard lock(OpenerMutex());
    Opener() = std::move(opener);
}

std::unique_ptr<ByteSource> OpenRecordingBytes(const std::string& path, std::uintptr_t context,
                                               std::int32_t locator, std::string& error) {
    if (context == kDiskContext && locator == kDiskLocator) {
        auto file = FileByteSource::Open(path, &error);
        if (!file) error = path + ": " + error;
        return file;
    }
    CardFileOpener opener;
    {
        std::lock_guard lock(OpenerMutex());
        opener = Opener();
    }
    if (!opener) {
        error = "no card library to read card file " + std::to_string(locator);
        return nullptr;
    }
    auto card = opener(context, locator);
    if (!card) {
        error = "the card library cannot open card file " + std::to_string(locator);
        return nullptr;
    }
    return std::make_unique<SerialisedByteSource>(std::move(card));
}

}  // namespace kx

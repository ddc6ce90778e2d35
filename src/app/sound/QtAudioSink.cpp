#include "app/sound/QtAudioSink.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace kx {

// What the device pulls from: hands each request to the graph's feed, telling it how long the
// sound already queued in the device takes to play. Detach cuts it off from the feed; a read
// in flight finishes first.
class FeedDevice final : public QIODevice {
public:
    FeedDevice(AudioFeed& feed, const QAudioSink& output, const QAudioFormat& format)
        : feed_(&feed), output_(output), bytesPerFrame_(format.bytesPerFrame()),
          bytesPerSecond_(static_cast<double>(format.bytesPerFrame()) * format.sampleRate()),
          channels_(format.channelCount()) {}

    void Detach() {
        std::lock_guard lock(mutex_);
        feed_ = nullptr;
    }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 frames = std::min<qint64>(maxSize / bytesPerFrame_, INT_MAX / channels_);
        std::lock_guard lock(mutex_);
        if (!feed_ || frames <= 0) return 0;
        // The bytes the device holds and has not played yet come before these frames.
        const qint64 queued = std::max<qint64>(0, output_.bufferSize() - output_.bytesFree());
        const double delaySeconds = static_cast<double>(queued) / bytesPerSecond_;
        // The device's buffer need not be aligned for 16-bit samples, so the feed fills ours.
        samples_.resize(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels_));
        feed_->Read(samples_.data(), static_cast<int>(frames), delaySeconds);
        const qint64 bytes = frames * bytesPerFrame_;
        std::memcpy(data, samples_.data(), static_cast<std::size_t>(bytes));
        return bytes;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::mutex mutex_;
    AudioFeed* feed_;
    const QAudioSink& output_;
    const int bytesPerFrame_;
    const double bytesPerSecond_;
    const int channels_;
    std::vector<std::int16_t> samples_;
};

namespace {

QAudioFormat Int16Format(int sampleRate, int channels) {
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

int Nearest(int value, int low, int high) { return low <= high ? std::clamp(value, low, high) : value; }

// The format to open the device with: the one wanted, else the wanted one brought within the
// device's rates and channel counts, else the device's own format in 16-bit samples.
std::optional<QAudioFormat> ChooseFormat(const QAudioDevice& device, const AudioFormat& wanted) {
    if (wanted.sampleRate > 0 && wanted.channels > 0) {
        const QAudioFormat exact = Int16Format(wanted.sampleRate, wanted.channels);
        if (device.isFormatSupported(exact)) return exact;
        const QAudioFormat near =
            Int16Format(Nearest(wanted.sampleRate, device.minimumSampleRate(), device.maximumSampleRate()),
                        Nearest(wanted.channels, device.minimumChannelCount(), device.maximumChannelCount()));
        if (device.isFormatSupported(near)) return near;
    }
    const QAudioFormat preferred = device.preferredFormat();
    const QAudioFormat own = Int16Format(preferred.sampleRate(), preferred.channelCount());
    if (own.isValid() && device.isFormatSupported(own)) return own;
    return std::nullopt;
}

}  // namespace

QtAudioSink::QtAudioSink() : context_(std::make_unique<QObject>()) {
    thread_.setObjectName(QStringLiteral("kx sound"));
    context_->moveToThread(&thread_);
    thread_.start();
}

QtAudioSink::~QtAudioSink() {
    Close();
    thread_.quit();
    thread_.wait();
    // The thread is gone, so nothing else can touch the context any more.
    context_.reset();
}

template <class Work>
void QtAudioSink::OnSinkThread(Work&& work) {
    // Queuing to our own thread and waiting would wait for ever.
    if (QThread::currentThread() == &thread_) {
        work();
        return;
    }
    QMetaObject::invokeMethod(context_.get(), std::forward<Work>(work), Qt::BlockingQueuedConnection);
}

std::optional<AudioFormat> QtAudioSink::Open(const AudioFormat& wanted, AudioFeed& feed) {
    std::optional<AudioFormat> opened;
    OnSinkThread([&] { opened = OpenHere(wanted, feed); });
    return opened;
}

void QtAudioSink::SetPaused(bool paused) {
    OnSinkThread([this, paused] {
        paused_ = paused;
        if (!output_) return;
        if (paused) {
            if (started_) output_->suspend();
        } else if (started_) {
            output_->resume();
        } else {
            StartPulling();
        }
    });
}

void QtAudioSink::Flush() {
    OnSinkThread([this] {
        if (!output_ || !started_) return;
        // Dropping what the device holds and starting the pull afresh; a paused sink stays
        // suspended with an empty buffer.
        output_->reset();
        output_->stop();
        started_ = false;
        StartPulling();
        if (started_ && paused_) output_->suspend();
    });
}

void QtAudioSink::Close() {
    OnSinkThread([this] { CloseHere(); });
}

std::optional<AudioFormat> QtAudioSink::OpenHere(const AudioFormat& wanted, AudioFeed& feed) {
    CloseHere();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return std::nullopt;
    const std::optional<QAudioFormat> format = ChooseFormat(device, wanted);
    if (!format) return std::nullopt;

    output_ = std::make_unique<QAudioSink>(device, *format);
    output_->setBufferSize(format->bytesForDuration(qint64{kBufferMs} * 1000));
    device_ = std::make_unique<FeedDevice>(feed, *output_, *format);
    // Unbuffered: a buffered QIODevice would read ahead in 16 KB chunks, seconds of sound
    // whose delay the feed would never learn.
    device_->open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    paused_ = true;
    // Starting now shows whether the device takes the stream; it waits suspended until the
    // graph resumes it.
    StartPulling();
    if (!started_) {
        CloseHere();
        return std::nullopt;
    }
    output_->suspend();
    return AudioFormat{format->sampleRate(), format->channelCount()};
}

void QtAudioSink::StartPulling() {
    output_->start(device_.get());
    started_ = output_->error() == QAudio::NoError && output_->state() != QAudio::StoppedState;
}

void QtAudioSink::CloseHere() {
    // The feed is cut off first, so nothing reaches the graph even if stopping pulls once more.
    if (device_) device_->Detach();
    if (output_) output_->stop();
    output_.reset();
    device_.reset();
    started_ = false;
    paused_ = true;
}

}  // namespace kx

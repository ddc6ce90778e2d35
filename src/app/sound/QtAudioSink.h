#pragma once
// The sound device under the media graph: Qt Multimedia's default audio output, pulling its
// samples from the graph's feed.
//
// The graph opens and closes the sink from threads without an event loop (the opener worker,
// the window's thread), so the Qt objects live on a thread of the sink's own and every call is
// carried out there. The device pulls from that thread too.

#include "playback/AudioSink.h"

#include <QThread>

#include <memory>
#include <optional>

class QAudioSink;
class QObject;

namespace kx {

class FeedDevice;

class QtAudioSink final : public AudioSink {
public:
    // Needs a QCoreApplication; starts the sink's thread.
    QtAudioSink();
    // Closes the device and joins the thread.
    ~QtAudioSink() override;
    QtAudioSink(const QtAudioSink&) = delete;
    QtAudioSink& operator=(const QtAudioSink&) = delete;

    std::optional<AudioFormat> Open(const AudioFormat& wanted, AudioFeed& feed) override;
    void SetPaused(bool paused) override;
    void Flush() override;
    void Close() override;

    // How much sound the device holds ahead of the speaker; the sound clock is only as tight
    // as this.
    static constexpr int kBufferMs = 100;

private:
    // Runs `work` on the sink's thread and waits for it.
    template <class Work>
    void OnSinkThread(Work&& work);

    // These run on the sink's thread.
    std::optional<AudioFormat> OpenHere(const AudioFormat& wanted, AudioFeed& feed);
    void CloseHere();
    void StartPulling();

    QThread thread_;
    std::unique_ptr<QObject> context_;  // lives on thread_; the calls are queued to it

    // Owned by the sink's thread.
    std::unique_ptr<QAudioSink> output_;
    std::unique_ptr<FeedDevice> device_;
    bool paused_ = true;
    bool started_ = false;  // output_ pulls (or is suspended) rather than stopped
};

}  // namespace kx

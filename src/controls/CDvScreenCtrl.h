#pragma once
// A video screen: shows the newest decoded picture of one channel, stretched over the whole
// screen. It is the media graph's VideoSink for its channel: the graph's presenting thread
// hands pictures in, only the newest is kept, and the screen repaints through a queued call, so
// the graph never waits for the screen and a slow paint drops pictures instead of queuing them.
// A right click asks the owner for the playback context menu.
//
// The owner detaches the screen from the graph before it destroys the screen.

#include "playback/VideoSink.h"

#include <QImage>
#include <QWidget>

#include <atomic>
#include <mutex>

namespace kx {

class CDvScreenCtrl : public QWidget, public VideoSink {
    Q_OBJECT

public:
    explicit CDvScreenCtrl(QWidget* parent = nullptr);
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible);
    int ControlId() const { return id_; }

    void SetLanguageIndex(int index) { languageIndex_ = index; }
    int LanguageIndex() const { return languageIndex_; }

    // Any thread. Keeps `frame` as the picture to show (sharing its pixels) and asks for a
    // repaint unless one is already pending.
    void PresentFrame(QImage frame);
    // Any thread. Copies a packed picture out of a decoder's buffer and presents it.
    void PresentPixels(const uchar* pixels, int width, int height, int bytesPerLine,
                       QImage::Format format);
    // Drops the picture; the screen turns black.
    void ClearFrame();
    // The picture last presented (null when none): the channel's current image.
    QImage CurrentFrame() const;
    // Any thread. The screen's size in device pixels, so that a decoder can scale to it.
    QSize TargetPixelSize() const;

    // VideoSink: the size in device pixels (pictures of that size are shown pixel for pixel),
    // and a picture whose pixels are copied before the call returns.
    VideoSize Size() const override;
    void Present(const VideoPicture& picture) override;

signals:
    void contextMenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private slots:
    void OnRepaintRequested();

private:
    void RequestRepaint();

    int id_ = 0;
    int languageIndex_ = 0;
    mutable std::mutex frameMutex_;
    QImage frame_;
    std::atomic<bool> repaintPending_{false};
    std::atomic<int> targetWidth_{0};
    std::atomic<int> targetHeight_{0};
    std::atomic<bool> shown_{false};
};

}  // namespace kx

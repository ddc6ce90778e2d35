#pragma once
// The small loading dialog: a notice of three lines, shown modally for a few seconds. After a
// load (modes 2 and 3) its timer has the owner fill the playlist and play the first row before
// it closes; at start-up (mode 5) it only shows the notice.

#include <QDialog>

#include <functional>

class QTimer;

namespace kx {

class CDvTextCtrl;

class CFileLoadDlg : public QDialog {
    Q_OBJECT
public:
    enum Mode { kModeOpened = 2, kModeDropped = 3, kModeStartup = 5 };

    // `fill` runs from the timer in modes 2 and 3, before the dialog closes.
    CFileLoadDlg(QWidget* parent, int mode, std::function<void()> fill);

    int Mode() const { return mode_; }
    // The notice's time: 5000 ms at start-up, 3000 ms after a load, unless set.
    void SetNoticeMs(int ms) { noticeMs_ = ms; }
    int NoticeMs() const { return noticeMs_; }
    CDvTextCtrl* Panel() const { return panel_; }
    // Width for the interface language: 350 for English, 400 for French, else 300.
    static int WidthForLanguage(int languageIndex);

    // Escape and the close box do not end the notice: the dialog ends with its timer, so a
    // load is always followed by the filling of the list.
    void reject() override {}

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnTimer();

    int mode_;
    int noticeMs_;
    std::function<void()> fill_;
    CDvTextCtrl* panel_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace kx

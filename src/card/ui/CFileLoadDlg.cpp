#include "card/ui/CFileLoadDlg.h"

#include "app/core/LanguageTable.h"
#include "app/core/StringIds.h"
#include "app/core/ViewerOptions.h"
#include "controls/CDvTextCtrl.h"
#include "controls/ControlConstants.h"

#include <QPainter>
#include <QTimer>

namespace kx {

namespace {
constexpr int kPanelStartup = 11;
constexpr int kPanelLoading = 10;
}  // namespace

int CFileLoadDlg::WidthForLanguage(int languageIndex) {
    if (languageIndex == 0) return 350;
    if (languageIndex == 6) return 400;
    return 300;
}

CFileLoadDlg::CFileLoadDlg(QWidget* parent, int mode, std::function<void()> fill)
    : QDialog(parent, Qt::Dialog), mode_(mode), noticeMs_(mode == kModeStartup ? 5000 : 3000),
      fill_(std::move(fill)) {
    setModal(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
    const int width = WidthForLanguage(TheViewerOptions().languageIndex);
    setFixedSize(width, 100);
    const bool startup = mode == kModeStartup;
    if (const auto title = LanguageString(startup ? kStrLoadTitleNotice : kStrLoadTitleLoading))
        setWindowTitle(QString::fromStdString(*title));
    else
        setWindowTitle(QString::fromUtf8("파일을 불러오는 중..."));

    panel_ = new CDvTextCtrl(this);
    panel_->Create(this, 1000, QRect(0, 10, width, 80), true);
    panel_->setObjectName(kNameTextWnd);
    panel_->SetKind(startup ? kPanelStartup : kPanelLoading);
    panel_->SetBackground(kColorBackground);

    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &CFileLoadDlg::OnTimer);
}

void CFileLoadDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (parentWidget()) {
        const QRect owner = parentWidget()->frameGeometry();
        move(owner.center() - QPoint(width() / 2, height() / 2));
    }
    if (!timer_->isActive()) timer_->start(noticeMs_);
}

void CFileLoadDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kColorBackground);
}

void CFileLoadDlg::OnTimer() {
    timer_->stop();
    if ((mode_ == kModeOpened || mode_ == kModeDropped) && fill_) fill_();
    accept();
}

}  // namespace kx

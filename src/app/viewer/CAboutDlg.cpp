#include "app/viewer/CAboutDlg.h"

#include "app/core/LanguageTable.h"
#include "app/core/StringIds.h"
#include "card/ui/CFileInfoView.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/SkinIds.h"

#include <QPainter>
#include <QPushButton>

namespace kx {

CAboutDlg::CAboutDlg(QWidget* parent, int languageIndex, const CRecordingSource& source)
    : QDialog(parent), source_(source) {
    (void)languageIndex;
    setWindowTitle(QString::asprintf("%s Viewer", "KX480"));
    setFixedSize(300, 190);

    title_ = new CDvTextCtrl(this);
    title_->Create(this, 1000, QRect(30, 50, 230, 20), true);
    title_->SetKind(8);
    version_ = new CDvTextCtrl(this);
    version_->Create(this, 1001, QRect(30, 80, 200, 20), true);
    version_->SetKind(9);

    ok_ = new CDvButtonCtrl(this);
    ok_->Create(this, 1, QRect(200, 140, 83, 32), true);
    ok_->SetImages(skin::kOkNormal, skin::kOkPressed, skin::kOkNormal, skin::kOkNormal);
    ok_->SetHovering(false);
    connect(ok_, &CDvButtonCtrl::command, this, &QDialog::accept);

    auto* info = new QPushButton(this);
    const auto label = LanguageString(kStrSetGroupCard);
    info->setText(label ? QString::fromStdString(*label) : QStringLiteral("SD"));
    info->setGeometry(20, 140, 160, 32);
    info->setStyleSheet("QPushButton { background: rgb(30,30,30); color: rgb(200,200,200);"
                        " border: 1px solid rgb(100,100,100); }");
    info->setObjectName("AboutCardInfo");
    connect(info, &QPushButton::clicked, this, &CAboutDlg::OnCardInfo);
    cardInfo_ = info;
}

void CAboutDlg::OnCardInfo() { ShowCardInfo(this, source_); }

void CAboutDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kColorBackground);
}

}  // namespace kx

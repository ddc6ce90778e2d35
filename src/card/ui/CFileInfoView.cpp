#include "card/ui/CFileInfoView.h"

#include "app/core/LanguageTable.h"
#include "app/core/ProgramPaths.h"
#include "card/RecordingSource.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/ControlConstants.h"
#include "controls/SkinIds.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPainter>
#include <QTreeWidget>

namespace kx {
namespace {

constexpr QSize kExtendedSize(634, 742);
constexpr QSize kCompactSize(250, 230);
constexpr QSize kPanelSize(200, 20);
constexpr QSize kOkSize(83, 32);
constexpr int kOkY = 160;
constexpr int kTitleY = 10;
constexpr int kRowY[4] = {40, 70, 100, 130};  // all, normal, event, parking

// Panel ids, kinds and the summary row each shows; the title panel (last) shows no row.
struct PanelKind {
    int id;
    int kind;
};
constexpr PanelKind kPanels[5] = {
    {kIdInfoAll, 12}, {kIdInfoNormal, 15}, {kIdInfoEvent, 13}, {kIdInfoParking, 14}, {kIdInfoTitle, 16},
};

struct Layout {
    QSize dialog;
    QRect list;  // empty: hidden
    QPoint title;
    int rowX;
    int okX;
};
constexpr Layout kExtended{kExtendedSize, QRect(10, 10, 364, 692), QPoint(444, kTitleY), 384, 541};
constexpr Layout kCompact{kCompactSize, QRect(), QPoint(70, kTitleY), 10, 150};

}  // namespace

CFileInfoView::CFileInfoView(QWidget* parent, CardInfoSummary summary, bool extended)
    : QDialog(parent), summary_(std::move(summary)), extended_(extended) {
    setWindowTitle(QStringLiteral("Info"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    const Layout& layout = extended_ ? kExtended : kCompact;
    setFixedSize(layout.dialog);

    ok_ = new CDvButtonCtrl(this);
    ok_->Create(this, kIdInfoOk, QRect(QPoint(layout.okX, kOkY), kOkSize));
    // Only two images: hovering and a disabled state show the normal one.
    ok_->SetImages(skin::kOkNormal, skin::kOkPressed, skin::kOkNormal, skin::kOkNormal);
    connect(ok_, &CDvButtonCtrl::command, this, [this](int) { OnOk(); });

    for (int i = 0; i < 5; ++i) {
        auto* panel = new CDvTextCtrl(this);
        const QPoint at = i == 4 ? layout.title : QPoint(layout.rowX, kRowY[i]);
        panel->Create(this, kPanels[i].id, QRect(at, kPanelSize));
        panel->SetKind(kPanels[i].kind);
        panel->SetBackground(kColorBackground);
        panels_[i] = panel;
    }
    // The panels' values keep the rows in the summary's order: all, normal, event, parking.
    for (int row = 0; row < 4; ++row) {
        TextPanelValues& values = panels_[row]->Values();
        for (std::size_t k = 0; k < 4; ++k) {
            values.counts[k] = QString::fromStdString(CardCountText(summary_.counts[k]));
            values.sizes[k] = QString::fromStdString(CardTotalText(summary_.totalKb[k]));
        }
    }

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("InfoList"));
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    // The list wears the window's dark panel colours, like the playlist.
    list_->setStyleSheet(QStringLiteral(
        "QTreeWidget { background: rgb(20, 20, 20); color: rgb(200, 200, 200); border: 1px solid rgb(100, 100, 100); }"
        "QTreeWidget::item:selected { background: rgb(0, 128, 128); color: white; }"
        "QHeaderView::section { background: rgb(30, 30, 30); color: rgb(200, 200, 200);"
        " border: 0px; border-right: 1px solid rgb(100, 100, 100); padding: 2px; }"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QString::fromUtf8("번호"), QString::fromUtf8("파일이름"), QString::fromUtf8("파일크기")});
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, 50);
    list_->setColumnWidth(1, 200);
    list_->setColumnWidth(2, 80);
    if (extended_) {
        list_->setGeometry(layout.list);
        FillList();
    } else {
        list_->hide();
    }
}

CDvTextCtrl* CFileInfoView::Panel(int id) const {
    for (CDvTextCtrl* panel : panels_)
        if (panel && panel->ControlId() == id) return panel;
    return nullptr;
}

void CFileInfoView::FillList() {
    QList<QTreeWidgetItem*> items;
    int number = 1;
    for (const CardInfoEntry& entry : summary_.entries) {
        items.push_back(new QTreeWidgetItem(QStringList{QString::number(number++), QString::fromStdString(entry.name),
                                                        QString::fromStdString(entry.sizeText)}));
    }
    list_->addTopLevelItems(items);
}

void CFileInfoView::OnOk() {
    // The per-recording texts are needed only while the view is open.
    summary_.entries.clear();
    summary_.entries.shrink_to_fit();
    accept();
}

void CFileInfoView::CentreOnParent() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner) return;
    const QRect frame = frameGeometry();
    const QRect ownerFrame = owner->frameGeometry();
    move(pos() + (ownerFrame.center() - frame.center()));
}

void CFileInfoView::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnParent();
}

void CFileInfoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kColorBackground);
}

int ShowCardInfo(QWidget* parent, const CRecordingSource& source) {
    return ShowCardInfo(parent, source, ProgramFolder());
}

int ShowCardInfo(QWidget* parent, const CRecordingSource& source, const std::string& programFolder) {
    if (const int refusal = CardInfoRefusal(source)) {
        // Without a language table there is no text to show, and the refusal stays silent.
        if (const auto text = LanguageString(refusal)) {
            QMessageBox box(QMessageBox::NoIcon, QGuiApplication::applicationDisplayName(),
                            QString::fromStdString(*text), QMessageBox::Ok, parent);
            box.exec();
        }
        return 0;
    }
    CFileInfoView view(parent, SummariseCard(source), HasUserBin(programFolder));
    return view.exec();
}

}  // namespace kx

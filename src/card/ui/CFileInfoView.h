#pragma once
// The card information view: how many recordings of each kind the loaded camera card holds
// and how much room they take, and, when "User.bin" lies beside the program, a list of every
// recording with its size.

#include "card/CardInfoSummary.h"

#include <QDialog>

#include <string>

class QTreeWidget;

namespace kx {

class CDvButtonCtrl;
class CDvTextCtrl;
class CRecordingSource;

// Control ids of the view.
inline constexpr int kIdInfoOk = 1;
inline constexpr int kIdInfoList = 1141;
inline constexpr int kIdInfoAll = 1000;
inline constexpr int kIdInfoNormal = 1001;
inline constexpr int kIdInfoEvent = 1002;
inline constexpr int kIdInfoParking = 1003;
inline constexpr int kIdInfoTitle = 1004;

class CFileInfoView : public QDialog {
    Q_OBJECT

public:
    // `extended` chooses the layout with the recording list.
    CFileInfoView(QWidget* parent, CardInfoSummary summary, bool extended);

    bool IsExtended() const { return extended_; }
    QTreeWidget* List() const { return list_; }
    CDvButtonCtrl* OkButton() const { return ok_; }
    // The text panel with id 1000 to 1004, or nullptr.
    CDvTextCtrl* Panel(int id) const;
    const CardInfoSummary& Summary() const { return summary_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnOk();
    void FillList();
    void CentreOnParent();

    CardInfoSummary summary_;
    bool extended_ = false;
    QTreeWidget* list_ = nullptr;
    CDvButtonCtrl* ok_ = nullptr;
    CDvTextCtrl* panels_[5] = {};
};

// Opens the view for the source's recordings, modally, with the layout chosen by "User.bin" in
// the program's folder. A source the view cannot describe gets a message box with the reason
// instead (none when there is no language table). Returns the dialog's result; 0 after a
// refusal.
int ShowCardInfo(QWidget* parent, const CRecordingSource& source);
// The same with the folder looked at for "User.bin" given.
int ShowCardInfo(QWidget* parent, const CRecordingSource& source, const std::string& programFolder);

}  // namespace kx

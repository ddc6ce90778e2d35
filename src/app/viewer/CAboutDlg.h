#pragma once
// The about box: the program's name and version, OK, and a second button that opens the card
// information view for the loaded source.

#include <QDialog>

namespace kx {

class CDvButtonCtrl;
class CDvTextCtrl;
class CRecordingSource;

inline constexpr int kIdAboutCardInfo = 1144;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    CAboutDlg(QWidget* parent, int languageIndex, const CRecordingSource& source);
    CDvButtonCtrl* OkButton() const { return ok_; }
    QWidget* CardInfoButton() const { return cardInfo_; }
    // Opens the card information view (button 1144).
    void OnCardInfo();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CRecordingSource& source_;
    CDvButtonCtrl* ok_ = nullptr;
    QWidget* cardInfo_ = nullptr;
    CDvTextCtrl* title_ = nullptr;
    CDvTextCtrl* version_ = nullptr;
};

}  // namespace kx

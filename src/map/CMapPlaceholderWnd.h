#pragma once
// What stands where the map would be when it cannot show: a grey fill with the language's
// picture centred at its own size. The two placeholders differ only in their pictures.

#include <QWidget>

namespace kx {

inline constexpr QColor kColorPlaceholder{51, 51, 51};

class CMapPlaceholderWnd : public QWidget {
    Q_OBJECT

public:
    bool Create(QWidget* parent, int id, const QRect& rect, bool visible = false);
    int ControlId() const { return id_; }

    // The interface language; set at start-up and again when the settings change.
    void SetLanguageIndex(int index);
    int LanguageIndex() const { return languageIndex_; }

    // The picture for the current language, 0 for a language without one (fill only).
    int PictureResource() const;

protected:
    CMapPlaceholderWnd(QWidget* parent, const char* windowName);
    // The picture of this placeholder for a language index 0..11.
    virtual int PictureFor(int languageIndex) const = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    int id_ = 0;
    int languageIndex_ = 0;
};

}  // namespace kx

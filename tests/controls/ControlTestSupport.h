#pragma once
// Small helpers for driving and looking at widgets in tests.

#include "app/core/LanguageTable.h"
#include "app/core/ViewerOptions.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace kx::test {

inline QImage Render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QRgb Rgb(QColor colour) { return colour.rgb(); }

inline void Mouse(QWidget& widget, QEvent::Type type, QPoint at,
                  Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
    const Qt::MouseButton which = type == QEvent::MouseMove ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), which, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void Drag(QWidget& widget, QPoint at) {
    QMouseEvent event(QEvent::MouseMove, QPointF(at), QPointF(widget.mapToGlobal(at)),
                      Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void Click(QWidget& widget, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(widget, QEvent::MouseButtonPress, at, button);
    Mouse(widget, QEvent::MouseButtonRelease, at, button);
}

// Switches the language (or, with an index outside 0..11, takes the table away) for one test.
class LanguageScope {
public:
    explicit LanguageScope(int index) : saved_(TheViewerOptions().languageIndex) {
        TheViewerOptions().languageIndex = index;
        LoadLanguageLibrary(TheViewerOptions());
    }
    ~LanguageScope() {
        TheViewerOptions().languageIndex = saved_;
        LoadLanguageLibrary(TheViewerOptions());
    }

private:
    int saved_;
};

}  // namespace kx::test

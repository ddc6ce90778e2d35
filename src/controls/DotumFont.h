#pragma once
// The face every panel writes with, "Dotum" (돋움), at a pixel height, and text placed the way
// the panels position it: (x, y) is the top-left corner of the text cell, whose height is the
// font height.

#include <QFont>
#include <QString>

class QPainter;

namespace kx {

// "Dotum" where installed; otherwise the CJK sans serif that has the current language's
// script (Noto Sans CJK, which covers Latin and Cyrillic too).
QFont DotumFont(int height);

// Draws `text` with its cell's top-left corner at (x, y) in the painter's font.
void TextOutAt(QPainter& painter, int x, int y, const QString& text);

}  // namespace kx

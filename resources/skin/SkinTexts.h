#pragma once
// Words drawn on the skin's images, per language index (0 English, 1 Korean, 2 German,
// 3 Japanese, 4 Chinese, 5 Dutch, 6 French, 7 Italian, 8 Polish, 9 Portuguese, 10 Russian,
// 11 Spanish), and the face that has each language's script.

#include <QFont>
#include <QString>

namespace kx::skinart {

enum class Label {
    Front, Rear, BothChannels, KindAll, KindEvent, KindNormal, KindParking, Mirror,
    NoConnection, NoGpsData,
};

QString LabelText(Label label, int languageIndex);

// A font with the script of `languageIndex` at `pixelSize`.
QFont LabelFont(int languageIndex, double pixelSize, QFont::Weight weight);

}  // namespace kx::skinart

#include "controls/CDvTextCtrl.h"

#include "app/core/LanguageTable.h"
#include "app/core/StringIds.h"
#include "controls/CMemoryDC.h"
#include "controls/ControlConstants.h"
#include "controls/DotumFont.h"

#include <QPainter>

namespace kx {
namespace {

constexpr QColor kGrey = kColorText;
constexpr int kAboutTitle = 8;
constexpr int kLoadingNotice = 10;
constexpr int kStartNotice = 11;
constexpr int kCardAll = 12;
constexpr int kCardHeading = 16;

// The card view's rows: the kind's caption and which of the four counts it shows.
struct CardRow {
    const char* caption;
    int index;
};
constexpr CardRow kCardRows[] = {
    {"전체", 0},    // 12: all
    {"이벤트", 2},  // 13: event
    {"주차", 3},    // 14: parking
    {"상시", 1},    // 15: continuous
};

void AppendTime(QString& text, int currentMs, int totalMs) {
    const int cm = currentMs / 60000;
    const int cs = currentMs / 1000 - 60 * cm;
    const int tm = totalMs / 60000;
    const int ts = totalMs / 1000 - 60 * tm;
    text += QString::asprintf("    %02d:%02d  /  %02d:%02d", cm, cs, tm, ts);
}

// Kinds 10 and 11: three lines of a notice.
std::vector<TextPanelItem> Notice(const QString (&lines)[3]) {
    std::vector<TextPanelItem> items;
    for (int i = 0; i < 3; ++i) items.push_back({lines[i], 10, 3 + 15 * i, 12, kColorWhite});
    return items;
}

}  // namespace

std::vector<TextPanelItem> TextPanelItems(int kind, const TextPanelValues& v, int clientWidth,
                                          const LabelSource& label) {
    const auto text = [&](int number) {
        const std::optional<std::string> s = label(number);
        return s ? std::optional<QString>(QString::fromStdString(*s)) : std::nullopt;
    };
    switch (kind) {
        case 1: {
            const auto time = text(kStrLabelPlayTime);
            const auto speed = text(kStrLabelPlaySpeed);
            if (!time || !speed) return {};
            QString first = *time;
            AppendTime(first, v.currentMs, v.totalMs);
            const QString second =
                *speed + QString::asprintf("   %.2f x", static_cast<double>(v.playSpeed));
            return {{first, 10, 2, 13, kColorWhite}, {second, 260, 2, 13, kColorWhite}};
        }
        case 2: {
            const auto axis = [&](const char* name, double value) {
                return v.hasAxisData ? QString::asprintf("%s:  %.6f", name, value)
                                     : QString::asprintf("%s:  -", name);
            };
            return {{axis("X", v.x), 10, 3, 13, kColorAxisX},
                    {axis("Y", v.y), 110, 3, 13, kColorAxisY},
                    {axis("Z", v.z), 210, 3, 13, kColorAxisZ}};
        }
        case 3:
        case 5: {
            const auto map = text(kStrLabelMap);
            if (!map) return {};
            return {{*map, 10, 3, 13, kColorWhite}};
        }
        case 4:
        case 6: {
            const auto lat = text(kStrLabelLatitude);
            const auto lon = text(kStrLabelLongitude);
            if (!lat || !lon) return {};
            const bool dialog = kind == 6;
            const QString line =
                *lat +
                QString::asprintf(dialog ? ":  %.6f    " : ": %.6f  ",
                                  static_cast<double>(v.latitude)) +
                *lon +
                QString::asprintf(dialog ? ":  %.6f" : ": %.6f", static_cast<double>(v.longitude));
            return {{line, dialog ? 10 : 3, 3, 13, kGrey}};
        }
        case 7: {
            const auto title = text(kStrLabelFileList);
            if (!title) return {};
            // Centred by an estimate of six pixels per character; a long title starts left of
            // the panel and is clipped.
            const int x = (clientWidth - 6 * static_cast<int>(title->size())) / 2;
            return {{*title, x, 3, 13, kColorWhite}};
        }
        case kAboutTitle:
            return {{QString::asprintf("%s Viewer", "KX480"), 10, 3, 15, kColorWhite}};
        case 9:
            return {{"Version 1.0.0 (Build 3925)", 10, 3, 15, kColorWhite}};
        case kLoadingNotice:
        case kStartNotice: {
            const bool loading = kind == kLoadingNotice;
            const auto a = text(loading ? kStrLoadLoadingLine1 : kStrLoadNoticeLine1);
            const auto b = text(loading ? kStrLoadLoadingLine2 : kStrLoadNoticeLine2);
            const auto c = text(loading ? kStrLoadLoadingLine3 : kStrLoadNoticeLine3);
            if (!a || !b || !c) return {};
            const QString lines[3] = {*a, *b, *c};
            return Notice(lines);
        }
        case 12:
        case 13:
        case 14:
        case 15: {
            const CardRow& row = kCardRows[kind - kCardAll];
            const auto index = static_cast<std::size_t>(row.index);
            return {{QString::fromUtf8(row.caption), 10, 3, 15, kColorWhite},
                    {v.counts[index], 80, 3, 15, kColorWhite},
                    {v.sizes[index], 150, 3, 15, kColorWhite}};
        }
        case kCardHeading:
            return {{QString::fromUtf8("파일수        크기"), 10, 3, 15, kColorWhite}};
        default:
            return {};
    }
}

CDvTextCtrl::CDvTextCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(kNameTextWnd);
}

bool CDvTextCtrl::Create(QWidget* parent, int id, const QRect& rect, bool visible) {
    setParent(parent);
    id_ = id;
    setGeometry(rect);
    setVisible(visible);
    return true;
}

void CDvTextCtrl::Paint(QPainter& p, QSize size) const {
    p.fillRect(QRect(QPoint(0, 0), size), background_);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const TextPanelItem& item : TextPanelItems(kind_, values_, size.width(), LanguageString)) {
        p.setFont(DotumFont(item.fontHeight));
        p.setPen(item.colour);
        TextOutAt(p, item.x, item.y, item.text);
    }
}

void CDvTextCtrl::paintEvent(QPaintEvent*) {
    CMemoryDC surface;
    if (!surface.Create(this, width(), height())) return;
    Paint(surface.Painter(), size());
    QPainter window(this);
    surface.CopyTo(window);
}

}  // namespace kx

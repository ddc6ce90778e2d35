// kx480-gallery OUT.png [--scale 2] [--language N]
//
// Renders every skinned control in its representative states onto one sheet: the buttons in
// each image state and in place on the top strip and the control band, the speed display, the
// text panels of every kind, the G-sensor graph, the volume bar, the sliders, the playlist with
// its heading and scrollbar, and the skin's remaining images. With --scale 2 the sheet is drawn
// at a device pixel ratio of 2.

#include "GallerySheet.h"

#include "app/core/LanguageTable.h"
#include "app/core/ViewerOptions.h"
#include "controls/CDvButtonCtrl.h"
#include "controls/CDvGsensorCtrl.h"
#include "controls/CDvListCtrl.h"
#include "controls/CDvMapPanelCtrl.h"
#include "controls/CDvSimpleSliderCtrl.h"
#include "controls/CDvSliderCtrl.h"
#include "controls/CDvSpeedCtrl.h"
#include "controls/CDvTextCtrl.h"
#include "controls/CDvVolumeCtrl.h"
#include "controls/CSkinVerticleScrollbar.h"
#include "controls/ControlConstants.h"
#include "controls/ResourceDrawing.h"
#include "controls/SkinIds.h"
#include "telemetry/TelemetryTrack.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace kx;
using skin::ButtonFace;
using skin::ButtonState;
using gallery::GallerySheet;

const char* StateName(ButtonState state) {
    switch (state) {
        case ButtonState::Normal: return "normal";
        case ButtonState::Hover: return "hover";
        case ButtonState::Pressed: return "pressed";
        case ButtonState::Disabled: return "disabled";
        case ButtonState::Checked: return "checked";
    }
    return "";
}

void SendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// Puts a button into `state` the way the user would: moving over it, pressing it, or through
// the owner's switches.
void EnterState(CDvButtonCtrl& button, ButtonState state) {
    const QPoint centre = button.rect().center();
    switch (state) {
        case ButtonState::Hover:
            SendMouse(&button, QEvent::MouseMove, centre, Qt::NoButton);
            break;
        case ButtonState::Pressed:
            SendMouse(&button, QEvent::MouseButtonPress, centre, Qt::LeftButton);
            break;
        case ButtonState::Disabled:
            button.SetButtonEnabled(false);
            break;
        case ButtonState::Checked:
            button.SetChecked(true);
            break;
        case ButtonState::Normal:
            break;
    }
}

void SetupButton(CDvButtonCtrl& button, ButtonFace face, int language) {
    const skin::ButtonSize size = skin::ButtonFaceSize(face);
    button.resize(size.width, size.height);
    button.SetImageSet(skin::ButtonImageSet(face, language));
    button.SetStripBackground(skin::ButtonOnTopStrip(face));
}

QPixmap ButtonPicture(ButtonFace face, ButtonState state, int language) {
    CDvButtonCtrl button;
    SetupButton(button, face, language);
    EnterState(button, state);
    return button.grab();
}

// A stand-in for the part of the main window a group of controls sits on.
class Backdrop : public QWidget {
public:
    using Painter = std::function<void(QPainter&, const QRect&)>;
    Backdrop(QSize size, Painter paint) : paint_(std::move(paint)) { resize(size); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        paint_(p, rect());
    }

private:
    Painter paint_;
};

void AddButtonStates(GallerySheet& sheet) {
    sheet.Section("Buttons in each image state (normal, hover, pressed, disabled, checked)");
    for (int f = 0; f < skin::kButtonFaceCount; ++f) {
        const auto face = static_cast<ButtonFace>(f);
        for (int s = 0; s < skin::kButtonStateCount; ++s) {
            const auto state = static_cast<ButtonState>(s);
            if (state == ButtonState::Checked && !skin::ButtonHasChecked(face)) continue;
            const int number = skin::ButtonImageNumber(face, state, 0);
            sheet.Place(ButtonPicture(face, state, 0),
                        s == 0 ? QString::number(number) : QString(StateName(state)));
        }
    }
}

void AddLanguageButtons(GallerySheet& sheet) {
    sheet.Section("Buttons with words, per language (normal, and checked for the kinds)");
    const ButtonFace faces[] = {ButtonFace::Front, ButtonFace::Rear, ButtonFace::BothChannels,
                                ButtonFace::KindAll, ButtonFace::KindEvent,
                                ButtonFace::KindNormal, ButtonFace::KindParking,
                                ButtonFace::RearMirror};
    for (int language = 0; language < skin::kLanguageCount; ++language) {
        for (ButtonFace face : faces) {
            const ButtonState state =
                face == ButtonFace::KindAll ? ButtonState::Checked : ButtonState::Normal;
            sheet.Place(ButtonPicture(face, state, language),
                        face == ButtonFace::Front ? QString(LanguageName(language)) : QString());
        }
        sheet.NewRow();
    }
}

void AddTopStrip(GallerySheet& sheet) {
    sheet.Section("In place: top strip (layout 1) with the top-row buttons, window controls");
    const int width = 660;
    Backdrop strip(QSize(width, 48), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kColorBackground);
        for (int x = 0; x < r.width(); x += 100)
            BlitBitmapPart(p, skin::kTopTile, x, 0, 100, 33, 0, 0);
    });
    const ButtonFace top[] = {ButtonFace::Open,  ButtonFace::Merge, ButtonFace::Capture,
                              ButtonFace::Print, ButtonFace::Zoom,  ButtonFace::Save,
                              ButtonFace::Setting, ButtonFace::About};
    int x = 9;
    for (ButtonFace face : top) {
        auto* b = new CDvButtonCtrl(&strip);
        SetupButton(*b, face, 0);
        b->move(x, 9);
        if (face == ButtonFace::Merge || face == ButtonFace::Print) b->SetButtonEnabled(false);
        if (face == ButtonFace::Capture) EnterState(*b, ButtonState::Hover);
        x += 44;
    }
    const ButtonFace window[] = {ButtonFace::Min, ButtonFace::Max, ButtonFace::Close};
    x = width - 139;
    for (ButtonFace face : window) {
        auto* b = new CDvButtonCtrl(&strip);
        SetupButton(*b, face, 0);
        b->move(x, 9);
        if (face == ButtonFace::Close) EnterState(*b, ButtonState::Hover);
        x += 44;
    }
    sheet.Place(strip.grab(), "Capture hovered, Merge and Print disabled, Close hovered");
    sheet.NewRow();

    Backdrop video(QSize(160, 40), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kColorPanelLight);
    });
    auto* save = new CDvButtonCtrl(&video);
    SetupButton(*save, ButtonFace::Save, 0);
    save->SetLayoutMode(2);
    save->move(10, 4);
    sheet.Place(video.grab(), "layout toggle in layout 2 (band behind)");
}

void AddControlBand(GallerySheet& sheet) {
    sheet.Section("In place: control band at 1034 x 742 (transport, sliders, volume, speed)");
    const int barWidth = 725;
    const int lift = 3;  // the speed display reaches 3 pixels above the band
    Backdrop band(QSize(barWidth, 56 + lift), [lift](QPainter& p, const QRect& r) {
        p.fillRect(r, kColorBackground);
        const QRect frame(5, lift, r.width() - 10, 56);
        p.fillRect(frame, kColorPanelLight);
        p.setPen(kColorLine);
        p.drawRect(frame.adjusted(0, 0, -1, -1));
    });
    const int x0 = (barWidth - 726) / 2 + 22;
    const int y0 = lift;
    const std::pair<ButtonFace, int> transport[] = {
        {ButtonFace::Prev, 0}, {ButtonFace::Rewind, 39}, {ButtonFace::Play, 78},
        {ButtonFace::Forward, 117}, {ButtonFace::Next, 156}};
    for (const auto& [face, dx] : transport) {
        auto* b = new CDvButtonCtrl(&band);
        SetupButton(*b, face, 0);
        b->move(x0 + dx, y0);
        if (face == ButtonFace::Forward) EnterState(*b, ButtonState::Hover);
    }
    const std::pair<ButtonFace, int> small[] = {
        {ButtonFace::Speed, 205}, {ButtonFace::Bright, 328}, {ButtonFace::Sound, 451}};
    for (const auto& [face, dx] : small) {
        auto* b = new CDvButtonCtrl(&band);
        SetupButton(*b, face, 0);
        b->move(x0 + dx, y0 + 4);
    }
    for (int dx : {230, 353}) {
        auto* slider = new CDvSimpleSliderCtrl(&band);
        slider->setGeometry(x0 + dx, y0 + 2, 95, 30);
        slider->SetImages(skin::kSmallTrack, skin::kSmallThumb);
        slider->SetBackground(kColorPanelLight);
        slider->setValue(dx == 230 ? 50 : 70);
    }
    auto* volume = new CDvVolumeCtrl(&band);
    volume->setGeometry(x0 + 490, y0 + 4, 70, 21);
    volume->SetLevel(6);
    auto* speed = new CDvSpeedCtrl(&band);
    speed->setGeometry(x0 + 570, y0 - 3, 124, 38);
    speed->SetSpeed(57.3);
    sheet.Place(band.grab(), "FF hovered; speed 50, brightness 70, volume 6, 57.3 km/h");
}

void AddSpeeds(GallerySheet& sheet) {
    sheet.Section("Speed display");
    const qreal ratio = qApp->devicePixelRatio();
    for (bool miles : {false, true}) {
        for (double speed : {0.0, 0.95, 57.3, 100.04, 123.0}) {
            QImage image(QSize(124, 38) * ratio, QImage::Format_RGB32);
            image.setDevicePixelRatio(ratio);
            QPainter p(&image);
            CDvSpeedCtrl::Paint(p, speed, miles);
            p.end();
            sheet.Place(image, QString::asprintf("%g %s", speed, miles ? "mph" : "km/h"));
        }
        sheet.NewRow();
    }
}

void AddTextPanels(GallerySheet& sheet) {
    sheet.Section("Text panels, kinds 1 to 16 (and 0) in the current language");
    TextPanelValues v;
    v.currentMs = 65000;
    v.totalMs = (62 * 60 + 3) * 1000;
    v.playSpeed = 1.5f;
    v.hasAxisData = true;
    v.x = 0.156250;
    v.y = -0.031250;
    v.z = 1.000000;
    v.latitude = 37.566535f;
    v.longitude = 126.977969f;
    v.counts = {" 128", "  96", "  20", "  12"};
    v.sizes = {"12.4GB", "9.3GB", "1.9GB", "1.2GB"};
    const struct {
        int kind;
        QSize size;
        QColor background;
    } panels[] = {
        {1, {400, 20}, kColorBackground}, {2, {400, 20}, kColorBackground},
        {3, {120, 20}, kColorPanel},       {4, {270, 20}, kColorPanel},
        {5, {50, 20}, kColorPanelLight},   {6, {300, 20}, kColorPanelLight},
        {7, {92, 20}, kColorPanel},        {8, {230, 20}, kColorBackground},
        {9, {200, 20}, kColorBackground},  {10, {300, 50}, kColorBackground},
        {11, {300, 50}, kColorBackground}, {12, {200, 20}, kColorBackground},
        {13, {200, 20}, kColorBackground}, {14, {200, 20}, kColorBackground},
        {15, {200, 20}, kColorBackground}, {16, {200, 20}, kColorBackground},
        {0, {120, 20}, kColorPanel},
    };
    for (const auto& panel : panels) {
        CDvTextCtrl text;
        text.resize(panel.size);
        text.SetKind(panel.kind);
        text.SetBackground(panel.background);
        text.Values() = v;
        sheet.Place(text.grab(), QString("kind %1").arg(panel.kind));
    }
    sheet.NewRow();
    CDvTextCtrl dashes;
    dashes.resize(400, 20);
    dashes.SetKind(2);
    dashes.Values() = v;
    dashes.Values().hasAxisData = false;
    sheet.Place(dashes.grab(), "kind 2 without axis data");
}

void AddTextPanelLanguages(GallerySheet& sheet) {
    sheet.Section("Text panels 1, 4 and 7 in Korean, Japanese, Chinese and Russian");
    ViewerOptions& options = TheViewerOptions();
    const int saved = options.languageIndex;
    for (int language : {1, 3, 4, 10}) {
        options.languageIndex = language;
        LoadLanguageLibrary(options);
        for (int kind : {1, 4, 7}) {
            CDvTextCtrl text;
            text.resize(kind == 1 ? 400 : kind == 4 ? 270 : 92, 20);
            text.SetKind(kind);
            text.SetBackground(kind == 1 ? kColorBackground : kColorPanel);
            text.Values().currentMs = 65000;
            text.Values().totalMs = 3723000;
            text.Values().latitude = 37.566535f;
            text.Values().longitude = 126.977969f;
            sheet.Place(text.grab(), kind == 1 ? QString(LanguageName(language)) : QString());
        }
        sheet.NewRow();
    }
    options.languageIndex = saved;
    LoadLanguageLibrary(options);
}

std::vector<CGSensorData> MinuteOfSamples() {
    std::vector<CGSensorData> samples;
    for (int i = 0; i < 600; ++i) {
        const double t = i / 10.0;
        CGSensorData s;
        s.time = static_cast<std::uint32_t>(i * 100);
        // Gentle driving, a hard brake at 31 s and a pothole at 45 s; 32 stored units are 1 g.
        double x = 4 + 3 * std::sin(t * 0.7);
        double y = 3 + 2 * std::sin(t * 1.3 + 1);
        double z = 32 + 1.5 * std::sin(t * 5);
        if (t > 30 && t < 33) x += 24 * std::exp(-(t - 31) * (t - 31) * 4);
        if (t > 44.5 && t < 46) z += 22 * std::exp(-(t - 45) * (t - 45) * 30);
        s.x = static_cast<int>(std::lround(std::max(1.0, x)));
        s.y = static_cast<int>(std::lround(std::max(1.0, y)));
        s.z = static_cast<int>(std::lround(std::max(1.0, z)));
        samples.push_back(s);
    }
    return samples;
}

void AddGsensor(GallerySheet& sheet) {
    sheet.Section("G-sensor graph: empty, and a minute of samples (630 x 150, and 730 x 97)");
    for (bool withSamples : {false, true}) {
        if (withSamples) {
            GsensorTrack.Publish(MinuteOfSamples());
        } else {
            GsensorTrack.Clear();
        }
        CDvGsensorCtrl graph;
        graph.resize(630, 150);
        sheet.Place(graph.grab(), withSamples ? "600 samples" : "empty");
    }
    CDvGsensorCtrl graph;
    graph.resize(730, 97);
    sheet.Place(graph.grab(), "main window size at 1034 x 742");
    GsensorTrack.Clear();
}

void AddVolumeAndSliders(GallerySheet& sheet) {
    sheet.Section("Volume bar (0, 5, 10, muted at 7) and sliders");
    for (int level : {0, 5, 10, -7}) {
        CDvVolumeCtrl volume;
        volume.resize(70, 21);
        volume.SetLevel(std::abs(level));
        if (level < 0) volume.DrawMuted();
        sheet.Place(volume.grab(), level < 0 ? "muted" : QString::number(level));
    }
    sheet.NewRow();
    for (int percent : {0, 40, 100}) {
        CDvSliderCtrl seek;
        seek.resize(600, 30);
        seek.SetImages(skin::kSeekTrack, skin::kSeekThumb, skin::kSeekFill);
        seek.setRange(0, 60000);
        seek.setValue(600 * percent);
        sheet.Place(seek.grab(), QString("seek bar at %1 %").arg(percent));
        sheet.NewRow();
    }
    for (int position : {0, 50, 100}) {
        CDvSimpleSliderCtrl slider;
        slider.resize(95, 30);
        slider.SetImages(skin::kSmallTrack, skin::kSmallThumb);
        slider.setValue(position);
        sheet.Place(slider.grab(), QString("small slider %1").arg(position));
    }
}

void AddPlaylist(GallerySheet& sheet) {
    sheet.Section("List area: title, kind buttons, 30 rows (row 3 marked, row 5 selected)");
    const int areaWidth = 287;
    Backdrop area(QSize(areaWidth, 34 + 240), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kColorBackground);
    });
    auto* title = new CDvTextCtrl(&area);
    title->setGeometry(0, 8, 92, 20);
    title->SetKind(7);
    title->SetBackground(kColorPanel);
    const std::pair<ButtonFace, int> kinds[] = {{ButtonFace::KindAll, 98},
                                                {ButtonFace::KindEvent, 144},
                                                {ButtonFace::KindNormal, 190},
                                                {ButtonFace::KindParking, 236}};
    for (const auto& [face, x] : kinds) {
        auto* b = new CDvButtonCtrl(&area);
        SetupButton(*b, face, TheViewerOptions().languageIndex);
        b->move(x, 6);
        if (face == ButtonFace::KindAll) b->SetChecked(true);
        if (face == ButtonFace::KindParking) b->SetButtonEnabled(false);
    }
    auto* list = new CDvListCtrl(&area);
    list->setGeometry(0, 34, 262, 240);
    list->SetupAsPlaylist();
    const char* kindsText[] = {"Normal", "Event", "Normal", "Parking", "Normal"};
    for (int row = 0; row < 30; ++row) {
        list->InsertRow(row, {QString::number(row + 1),
                              QString::asprintf("2024-03-%02d", 7 + row / 10),
                              QString::asprintf("%02d:%02d:00", 9 + row / 6, (row % 6) * 10),
                              kindsText[row % 5], "/media/card/NORMAL", "REC.avi"});
    }
    list->SetMarkedRow(3);
    list->selectRow(5);
    sheet.Place(area.grab(), "scrolled to the top");
    list->PageDown();
    list->LineDown();
    sheet.Place(area.grab(), "after a page and a line down");
}

void AddOtherImages(GallerySheet& sheet) {
    sheet.Section("Map placeholders (over RGB 51), map window Close, card view OK, scrollbar, icon");
    for (int language : {0, 1, 3, 4, 10}) {
        for (bool noConnection : {true, false}) {
            const skin::PlaceholderPair pair =
                skin::kMapPlaceholders[static_cast<std::size_t>(language)];
            Backdrop panel(QSize(276, 180), [&](QPainter& p, const QRect& r) {
                p.fillRect(r, QColor(51, 51, 51));
                const int number = noConnection ? pair.noConnection : pair.noData;
                const QSize size = ResourceSize(number);
                DrawPngResource(p, number, (r.width() - size.width()) / 2,
                                (r.height() - size.height()) / 2);
            });
            sheet.Place(panel.grab(), noConnection ? QString(LanguageName(language)) : QString());
        }
    }
    sheet.NewRow();
    for (int number : {skin::kMapCloseNormal, skin::kMapCloseHover, skin::kMapClosePressed,
                       skin::kOkNormal, skin::kOkPressed, skin::kScrollTopCap,
                       skin::kScrollUpArrow, skin::kScrollDownArrow, skin::kScrollBottomCap,
                       skin::kScrollThumb, skin::kSeekThumb, skin::kSmallThumb}) {
        const QSize size = ResourceSize(number);
        Backdrop image(size, [number](QPainter& p, const QRect&) {
            DrawBitmapResource(ResourceSize(number).height(), ResourceSize(number).width(), p,
                               number, 0, 0, false, QColor());
        });
        sheet.Place(image.grab(), QString::number(number));
    }
    Backdrop icon(QSize(128, 128), [](QPainter& p, const QRect& r) {
        p.fillRect(r, kColorBackground);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        QImage full(QSize(256, 256), QImage::Format_ARGB32_Premultiplied);
        full.fill(Qt::transparent);
        QPainter q(&full);
        DrawPngResource(q, skin::kAppIcon);
        q.end();
        p.drawImage(r, full);
    });
    sheet.Place(icon.grab(), "197 (at half size)");
}

}  // namespace

int main(int argc, char** argv) {
    const char* out = nullptr;
    int language = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            qputenv("QT_SCALE_FACTOR", argv[++i]);
        } else if (std::strcmp(argv[i], "--language") == 0 && i + 1 < argc) {
            language = std::atoi(argv[++i]);
        } else {
            out = argv[i];
        }
    }
    if (!out) {
        std::fprintf(stderr, "usage: kx480-gallery OUT.png [--scale 2] [--language N]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TheViewerOptions().languageIndex = language;
    LoadLanguageLibrary(TheViewerOptions());

    GallerySheet sheet(1500, 4000, app.devicePixelRatio());
    AddButtonStates(sheet);
    AddLanguageButtons(sheet);
    AddTopStrip(sheet);
    AddControlBand(sheet);
    AddSpeeds(sheet);
    AddTextPanels(sheet);
    AddTextPanelLanguages(sheet);
    AddGsensor(sheet);
    AddVolumeAndSliders(sheet);
    AddPlaylist(sheet);
    AddOtherImages(sheet);
    const QImage picture = sheet.Finish();
    if (!picture.save(QString::fromLocal8Bit(out))) {
        std::fprintf(stderr, "kx480-gallery: cannot write %s\n", out);
        return 1;
    }
    std::printf("%s: %dx%d\n", out, picture.width(), picture.height());
    return 0;
}

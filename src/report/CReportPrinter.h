#pragma once
// The printed report of the moment being watched: page 1 the still pictures of the camera
// channels, page 2 the GPS position with a picture of the map and the G-sensor values. Every
// text and picture sits at fixed percentages of the printable area; text sizes are font
// heights in units of 5 device pixels.

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QWidget;

namespace kx {

// What the report shows, gathered by the main window at the moment of printing.
struct ReportInputs {
    QImage channel1;
    QImage channel2;
    int channelCount = 2;  // the recording's video pin count
    double latitude = 0;   // degrees, as the lookups give them (single precision)
    double longitude = 0;
    double x = 0, y = 0, z = 0;  // g
    QImage mapPicture;     // the map view's client area; null when there is no map window
    int modelIndex = 0;    // MODEL of the viewer options: the title prints only for model 0
};

// One text line: top-left corner in device pixels and the size (font height / 5).
struct ReportText {
    QString text;
    int x = 0;
    int y = 0;
    int size = 20;
};

enum class ReportPicture { Channel1, Channel2, Map };

struct ReportImage {
    ReportPicture picture;
    QRect rect;  // device pixels
};

struct ReportPage {
    std::vector<ReportText> texts;
    std::vector<ReportImage> images;
};

// The two pages on a printable area of `width` x `height` device pixels; `printedAt` is the
// local time the page starts.
std::array<ReportPage, 2> ReportPages(int width, int height, const ReportInputs& inputs, const QDateTime& printedAt);

class CReportPrinter {
public:
    // Draws on `device` (a printer or a PDF writer), which must stay alive while printing.
    explicit CReportPrinter(QPagedPaintDevice& device);

    // Prints both pages; false when the device cannot be painted on.
    bool Print(const ReportInputs& inputs);

private:
    void DrawPage(QPainter& painter, const ReportPage& page, const ReportInputs& inputs);

    QPagedPaintDevice& device_;
};

// Chooses the printer (the print dialog); false when the user cancels. Tests give their own.
using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;

// The print command: asks for the printer and prints the report. False when cancelled or when
// nothing could be printed.
bool PrintReport(QWidget* parent, const ReportInputs& inputs, const PrinterChooser& choose = {});

}  // namespace kx

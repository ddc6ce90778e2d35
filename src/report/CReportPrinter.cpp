#include "report/CReportPrinter.h"

#include "app/core/LanguageTable.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace kx {

namespace {

QString LangText(int number) {
    const auto text = LanguageString(number);
    return text ? QString::fromStdString(*text) : QString();
}

}  // namespace

std::array<ReportPage, 2> ReportPages(int W, int H, const ReportInputs& in, const QDateTime& printedAt) {
    const auto X = [W](int percent) { return W * percent / 100; };
    const auto Y = [H](int percent) { return H * percent / 100; };
    const QString title = in.modelIndex == 0 ? QStringLiteral("KX480 Viewer") : QString();
    const QString stamp = printedAt.toString("yyyy-MM-dd HH:mm:ss");

    std::array<ReportPage, 2> pages;
    for (int i = 0; i < 2; ++i) {
        auto& texts = pages[static_cast<std::size_t>(i)].texts;
        texts.push_back({title, X(5), Y(5), 20});
        texts.push_back({stamp, X(80), Y(5), 20});
        texts.push_back({title, X(5), Y(95), 20});
        texts.push_back({QString::asprintf("Page %d of 2", i + 1), X(80), Y(95), 20});
    }

    ReportPage& one = pages[0];
    one.texts.push_back({title, X(30), Y(10), 40});
    one.texts.push_back({"1. " + LangText(200), X(5), Y(15), 25});
    one.texts.push_back({"-" + LangText(201), X(8), Y(18), 20});
    one.texts.push_back({"-" + LangText(202), X(10), Y(20), 20});
    one.images.push_back({ReportPicture::Channel1, QRect(X(20), Y(24), X(60), Y(26))});
    if (in.channelCount == 2) {
        one.texts.push_back({"-" + LangText(203), X(10), Y(56), 20});
        one.images.push_back({ReportPicture::Channel2, QRect(X(20), Y(60), X(60), Y(26))});
    }

    ReportPage& two = pages[1];
    two.texts.push_back({"2. " + LangText(204), X(5), Y(15), 25});
    two.texts.push_back({QString::asprintf("%s : %.08f", LangText(128).toUtf8().constData(), in.latitude), X(8), Y(18), 20});
    two.texts.push_back({QString::asprintf("%s : %.08f", LangText(129).toUtf8().constData(), in.longitude), X(8), Y(20), 20});
    two.texts.push_back({LangText(126), X(8), Y(22), 20});
    if (!in.mapPicture.isNull() && in.latitude != 0 && in.longitude != 0)
        two.images.push_back({ReportPicture::Map, QRect(X(20), Y(25), X(40), Y(20))});
    two.texts.push_back({"3. " + LangText(205), X(5), Y(50), 25});
    two.texts.push_back({LangText(206), X(8), Y(53), 20});
    two.texts.push_back({QString::asprintf("%s : X = %.08f, Y = %.08f, Z = %.08f", LangText(206).toUtf8().constData(),
                                           in.x, in.y, in.z),
                         X(8), Y(56), 20});
    return pages;
}

CReportPrinter::CReportPrinter(QPagedPaintDevice& device) : device_(device) {}

void CReportPrinter::DrawPage(QPainter& painter, const ReportPage& page, const ReportInputs& in) {
    for (const auto& text : page.texts) {
        // A new font for every line: Arial, 5 device pixels per size unit, normal weight.
        QFont font("Arial");
        font.setPixelSize(5 * text.size);
        font.setWeight(QFont::Normal);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(text.x, text.y, device_.width(), 5 * text.size * 2), Qt::AlignLeft | Qt::AlignTop,
                         text.text);
    }
    for (const auto& image : page.images) {
        const QImage* picture = image.picture == ReportPicture::Channel1   ? &in.channel1
                                : image.picture == ReportPicture::Channel2 ? &in.channel2
                                                                           : &in.mapPicture;
        // A picture that could not be had leaves its rectangle blank.
        if (picture->isNull()) continue;
        QImage source = *picture;
        if (image.picture == ReportPicture::Map)
            // The map is taken at the size it is printed at, as its window showed it.
            source = source.scaled(image.rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        painter.drawImage(image.rect, source);
    }
}

bool CReportPrinter::Print(const ReportInputs& inputs) {
    QPainter painter;
    if (!painter.begin(&device_)) return false;
    const int W = device_.width();
    const int H = device_.height();
    for (int i = 0; i < 2; ++i) {
        if (i > 0 && !device_.newPage()) return false;
        const auto pages = ReportPages(W, H, inputs, QDateTime::currentDateTime());
        DrawPage(painter, pages[static_cast<std::size_t>(i)], inputs);
    }
    return painter.end();
}

bool PrintReport(QWidget* parent, const ReportInputs& inputs, const PrinterChooser& choose) {
    QPrinter printer(QPrinter::HighResolution);
    const QString name = LangText(57344);
    printer.setDocName(name.isEmpty() ? QStringLiteral("KX480 Viewer") : name);
    if (choose) {
        if (!choose(printer, parent)) return false;
    } else {
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    CReportPrinter report(printer);
    return report.Print(inputs);
}

}  // namespace kx

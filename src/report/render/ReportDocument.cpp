#include "report/render/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace report {

namespace {

constexpr const char* FontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};
constexpr char FontFamily[] = "DejaVu Sans";
constexpr int FontPointSize = 9;
constexpr int PdfResolution = 300;
const QMarginsF PageMarginsMm(18, 14, 18, 14);

// CSS pixels: 96 to the inch.
constexpr int LayoutDpi = 96;
constexpr double InchesPerMetre = 39.37;

QImage& layoutDevice() {
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(LayoutDpi * InchesPerMetre));
        image.setDotsPerMeterY(qRound(LayoutDpi * InchesPerMetre));
        return image;
    }();
    return device;
}

QString loadFont() {
    QString family = QString::fromLatin1(FontFamily);
    for (const char* file : FontFiles) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(file));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        if (!families.isEmpty())
            family = families.constFirst();
    }
    return family;
}

}  // namespace

QString ReportFontFamily() {
    // Fonts belong to the application object: a new one loads them again.
    static const QCoreApplication* loadedFor = nullptr;
    static QString family;
    if (loadedFor != QCoreApplication::instance()) {
        family = loadFont();
        loadedFor = QCoreApplication::instance();
    }
    return family;
}

std::unique_ptr<QTextDocument> MakeReportDocument(const std::string& html) {
    auto document = std::make_unique<QTextDocument>();
    QFont font(ReportFontFamily(), FontPointSize);
    // Without ligatures a word reads and searches the same in the PDF as it was written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document->setDefaultFont(font);
    document->setHtml(QString::fromStdString(html));
    return document;
}

void SetReportPage(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, PageMarginsMm,
                                     QPageLayout::Millimeter));
}

void PrintReport(const QTextDocument& document, QPagedPaintDevice& device) {
    // Laid out on pages of the printable area at a fixed resolution, so that a
    // template's pixels mean the same on every device; printing scales the
    // pages to the device and, since they are pages already, adds no numbers.
    std::unique_ptr<QTextDocument> page(document.clone());
    page->documentLayout()->setPaintDevice(&layoutDevice());
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Inch);
    page->setPageSize(area.size() * LayoutDpi);
    page->print(&device);
}

FileOutcome WritePdf(const QTextDocument& document, const QString& path) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(PdfResolution);
        writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
        writer.setCreator(QStringLiteral("Varnel"));
        SetReportPage(writer);
        PrintReport(document, writer);
    }
    return WriteOutputFile(path, pdf.data());
}

}  // namespace report

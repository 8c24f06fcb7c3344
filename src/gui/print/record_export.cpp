#include "gui/print/record_export.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "gui/chart/chart.h"
#include "gui/document/record_document.h"
#include "gui/print/page_painter.h"

namespace faultscope {
namespace {

constexpr int kExportDpi = 300;
// The record window's usual size and the heights it gives new strips.
constexpr QSize kWindowSize(1234, 900);
constexpr int kTimeLineHeight = 90;
constexpr int kAnalogStripHeight = 100;
constexpr int kDiscreteStripHeight = 12;

std::vector<Chart*> StackedCharts(const PrintSource& source) {
    std::vector<Chart*> charts = source.labels;
    charts.insert(charts.end(), source.analog.begin(), source.analog.end());
    charts.insert(charts.end(), source.discrete.begin(), source.discrete.end());
    if (source.timeAxis != nullptr) {
        charts.push_back(source.timeAxis);
    }
    return charts;
}

QString WriteError(const QString& file, const QString& reason) {
    return "Не удалось записать файл «" + file + "»" + (reason.isEmpty() ? "." : ": " + reason);
}

}  // namespace

bool WriteWholeFile(const QString& file, const QByteArray& bytes, QString& error) {
    const QFileInfo target(file);
    // A link is followed to its target, which must then be a regular file as well.
    if (target.exists() && !target.isFile()) {
        error = WriteError(file, QStringLiteral("это не обычный файл"));
        return false;
    }
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        error = WriteError(file, out.errorString());
        return false;
    }
    return true;
}

PageSetup ExportPageSetup(const PdfExportOptions& options) {
    const QSize paper(static_cast<int>(std::lround(options.pageMm.width() / 25.4 * kExportDpi)),
                      static_cast<int>(std::lround(options.pageMm.height() / 25.4 * kExportDpi)));
    PageSetup setup;
    setup.printable = PrintableRect(paper, kExportDpi, options.marginsMm);
    setup.dpi = kExportDpi;
    setup.caption = options.caption;
    return setup;
}

int ExportPdf(const PrintSource& source, const QString& file, const PdfExportOptions& options,
              QString& error) {
    // The document is made in memory and written in one piece, so a failed write leaves the
    // old file whole.
    QBuffer document;
    document.open(QIODevice::WriteOnly);
    QPdfWriter writer(&document);
    writer.setResolution(kExportDpi);
    writer.setCreator("Faultscope");
    writer.setTitle("Осцилограмма " + source.deviceName);
    writer.setPageLayout(QPageLayout(QPageSize(options.pageMm, QPageSize::Millimeter),
                                     QPageLayout::Portrait, QMarginsF()));
    const PageSetup setup = ExportPageSetup(options);
    const std::vector<PagePlan> pages = LayoutRecord(source, setup);
    // A page too small for the margins, or for a strip, would be written blank.
    const bool fits =
        !setup.printable.isEmpty() && std::ranges::all_of(pages, [](const PagePlan& page) {
            return std::ranges::all_of(page,
                                       [](const PageItem& item) { return !item.rect.isEmpty(); });
        });
    if (!fits) {
        error =
            QStringLiteral("Лист слишком мал: на нём не помещается ни одна полоса осциллограммы.");
        return 0;
    }
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = WriteError(file, {});
        return 0;
    }
    const QFont font = PageCaptionFont(setup.captionFont, kExportDpi);
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.newPage();
        }
        PaintPage(painter, pages[i], source, font);
    }
    if (!painter.end() || !WriteWholeFile(file, document.data(), error)) {
        if (error.isEmpty()) {
            error = WriteError(file, {});
        }
        return 0;
    }
    return static_cast<int>(pages.size());
}

QSize ExportPng(const PrintSource& source, const QString& file, QSize size, QString& error) {
    const QImage picture = RecordPicture(source, size);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (picture.isNull() || !picture.save(&png, "PNG")) {
        error = WriteError(file, QStringLiteral("рисунок не удалось составить"));
        return {};
    }
    return WriteWholeFile(file, png.data(), error) ? picture.size() : QSize();
}

QImage RecordPicture(const PrintSource& source, QSize size) {
    const std::vector<Chart*> charts = StackedCharts(source);
    int width = 0;
    int height = 0;
    for (const Chart* chart : charts) {
        width = std::max(width, chart->width());
        height += chart->height();
    }
    if (width <= 0 || height <= 0) {
        return {};
    }
    if (size.isEmpty()) {
        size = QSize(width, height);
    }
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const double sx = static_cast<double>(size.width()) / width;
    const double sy = static_cast<double>(size.height()) / height;
    double y = 0.0;
    for (Chart* chart : charts) {
        const QRectF target(0.0, y * sy, chart->width() * sx, chart->height() * sy);
        chart->render(painter, target);
        y += chart->height();
    }
    return picture;
}

struct OffscreenRecord::Panels {
    // Declared first: the document keeps pointing at it until the window goes.
    MessageCallback messages{{}};
    QWidget window;
    QWidget* analog = nullptr;
    QWidget* discrete = nullptr;
    QWidget* timeLine = nullptr;
    RecordDocument* document = nullptr;
};

OffscreenRecord::OffscreenRecord() : panels_(std::make_unique<Panels>()) {
    panels_->messages =
        MessageCallback([this](MessageIcon, const QString& caption, const QString& text) {
            messages_.push_back(caption + ": " + text);
        });
    QWidget& w = panels_->window;
    w.setAttribute(Qt::WA_DontShowOnScreen);
    auto* layout = new QVBoxLayout(&w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    panels_->analog = new QWidget(&w);
    panels_->discrete = new QWidget(&w);
    panels_->timeLine = new QWidget(&w);
    panels_->timeLine->setFixedHeight(kTimeLineHeight);
    panels_->timeLine->setContentsMargins(0, 0, 16, 0);
    layout->addWidget(panels_->analog, 1);
    layout->addWidget(panels_->discrete, 1);
    layout->addWidget(panels_->timeLine);
    panels_->document = new RecordDocument(&w);
    w.resize(kWindowSize);
}

OffscreenRecord::~OffscreenRecord() = default;

void OffscreenRecord::Load(const QString& path, TextEncoding encoding) {
    RecordDocument& d = *panels_->document;
    d.SetMessages(&panels_->messages);
    LoadOptions options;
    options.encoding = encoding;
    d.LoadRecordFile(path, std::move(options));
    d.CreateCharts(panels_->timeLine, panels_->analog, panels_->discrete, kAnalogStripHeight,
                   kDiscreteStripHeight);
    panels_->window.show();
    QApplication::processEvents();
}

RecordDocument& OffscreenRecord::Document() const {
    return *panels_->document;
}

}  // namespace faultscope

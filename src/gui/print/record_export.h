#pragma once

#include <QImage>
#include <QMargins>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <memory>

#include "core/record/text_encoding.h"
#include "gui/print/page_painter.h"
#include "gui/print/print_source.h"

namespace faultscope {

class RecordDocument;

// How a record goes into a PDF file without the print dialog: the same page layout, on a page
// of the given size at 300 dpi.
struct PdfExportOptions {
    QSizeF pageMm{210.0, 297.0};
    QMargins marginsMm{10, 10, 10, 10};
    bool caption = false;
};

// The page setup of a PDF export: the printable part of the page and the caption font.
[[nodiscard]] PageSetup ExportPageSetup(const PdfExportOptions& options);

// Writes every page of the record into a PDF file; the number of pages, or 0 after writing
// the reason into `error`. The file is replaced only once the whole of it is written.
int ExportPdf(const PrintSource& source, const QString& file, const PdfExportOptions& options,
              QString& error);

// Writes RecordPicture(source, size) into a PNG file; the picture's size, or an empty size after
// writing the reason into `error`. The file is replaced only once the whole of it is written.
[[nodiscard]] QSize ExportPng(const PrintSource& source, const QString& file, QSize size,
                              QString& error);

// Replaces `file` with `bytes` through a temporary file beside it, renamed over it once every
// byte is written and the file closed. A target that is there but not a regular file (a device,
// a pipe, a folder) is refused. False, with the reason in `error`, leaves the old file as it
// was.
bool WriteWholeFile(const QString& file, const QByteArray& bytes, QString& error);

// The record as one picture: the label strips, the shown strips and the time axis stacked at
// their on-screen heights, scaled to `size` (an empty size keeps the on-screen size).
[[nodiscard]] QImage RecordPicture(const PrintSource& source, QSize size = {});

// A record loaded into views that are never shown on a screen, for exports without a window.
class OffscreenRecord {
  public:
    OffscreenRecord();
    ~OffscreenRecord();
    OffscreenRecord(const OffscreenRecord&) = delete;
    OffscreenRecord& operator=(const OffscreenRecord&) = delete;

    // Loads the record and lays its views out as a record window of the usual size would;
    // raises LoadError with the user's message.
    void Load(const QString& path, TextEncoding encoding);
    [[nodiscard]] RecordDocument& Document() const;
    // What the record's view template had to say while it was applied (no box is shown).
    [[nodiscard]] const QStringList& Messages() const noexcept { return messages_; }

  private:
    struct Panels;
    std::unique_ptr<Panels> panels_;
    QStringList messages_;
};

}  // namespace faultscope

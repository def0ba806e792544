#pragma once
// Printing tests against the private CUPS server (scripts/cups-test-server.sh):
// waiting for the queue's PDF and measuring what landed on the sheet.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QStringList>
#include <QThread>
#include <algorithm>

#include "OutputTestUtil.h"
#include "model/Design.h"
#include "model/LayerChoices.h"

namespace zb::test {

inline bool Required() { return qEnvironmentVariableIsSet("ZB_REQUIRE_CUPS"); }

// The last lines of the private server's error log, for failure messages.
inline QString ServerLogTail(int lines = 25) {
    QFile log(qEnvironmentVariable("ZB_CUPS_LOG"));
    if (!log.open(QIODevice::ReadOnly)) return QStringLiteral("(kein Fehlerprotokoll des Servers)");
    const QStringList all = QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
    return all.mid(std::max<qsizetype>(0, all.size() - lines)).join('\n');
}

// Waits until the queue has finished and returns the PDF that appeared in
// the output folder since `before`. A job that fails (the queue stops, as it
// does on "Filter failed", or the job ends without a file) fails the test at
// once with the server's reason instead of waiting out the time limit.
inline QString WaitForPdf(const QStringList& before) {
    const QDir out(qEnvironmentVariable("ZB_CUPS_OUT"));
    QElapsedTimer timer, idle;
    timer.start();
    while (timer.elapsed() < 120000) {
        const QString jobs = RunTool("lpstat", {"-o"});
        const QStringList now = out.entryList({"*.pdf"}, QDir::Files, QDir::Time);
        for (const QString& f : now)
            if (!before.contains(f) && jobs.trimmed().isEmpty()) return out.filePath(f);
        const QString printer = RunTool("lpstat", {"-l", "-p", "ZB_PDF"});
        QString failure;
        if (printer.contains("disabled")) failure = "the queue stopped";
        if (jobs.trimmed().isEmpty()) {
            // No job left and no file: give the backend a moment to finish writing.
            if (!idle.isValid()) idle.start();
            if (idle.elapsed() > 5000) failure = "the job ended without a PDF";
        } else {
            idle.invalidate();
        }
        if (!failure.isEmpty()) {
            ADD_FAILURE() << failure.toStdString() << "\n" << printer.toStdString() << "\nserver log:\n"
                          << ServerLogTail().toStdString();
            return {};
        }
        QThread::msleep(200);
    }
    ADD_FAILURE() << "no PDF after 120 s; server log:\n" << ServerLogTail().toStdString();
    return {};
}

inline QImage Rendered(const QString& pdf, const QString& folder, const QString& name) {
    RunTool("pdftoppm", {"-r", "150", "-png", "-singlefile", "-f", "1", "-l", "1", pdf,
                                   QDir(folder).filePath(name)});
    return QImage(QDir(folder).filePath(name + ".png")).convertToFormat(QImage::Format_RGB888);
}

// The bounding box of everything that is not white.
inline QRect Ink(const QImage& page) {
    int left = page.width(), top = page.height(), right = -1, bottom = -1;
    for (int y = 0; y < page.height(); ++y) {
        const uchar* row = page.constScanLine(y);
        for (int x = 0; x < page.width(); ++x)
            if (row[3 * x] < 235 || row[3 * x + 1] < 235 || row[3 * x + 2] < 235) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// A gradient, `discs` large discs in random colours and a light blur: cells
// of the sheet differ clearly from one generator state to the next.
inline void SampleDesign(Design& design, int discs = 60, double discMM = 9) {
    TLayerRecord& g = design.Layers.Add();
    SetLayerDefaults(g);
    g.Kind = kKindGradient;
    g.GradientColor1 = 0x2040C0;
    g.GradientColor2 = 0x60A040;
    g.GradientDirection = kGradientTopLeftDiagonal;
    TLayerRecord& p = design.Layers.Add();
    SetLayerDefaults(p);
    p.Kind = kKindPattern;
    p.PatternCount = discs;
    p.PatternSizeMM = discMM;
    p.Transparency = -5;
    TLayerRecord& f = design.Layers.Add();
    SetLayerDefaults(f);
    f.Kind = kKindFilter;
    f.FilterIndex = 0;
    f.Transparency = -5;
}

// Where the printable area starts on the sheet, at 150 dpi.
inline QPointF PrintableOrigin150(const QPrinter& printer) {
    const QRectF paint = printer.pageLayout().paintRect(QPageLayout::Point);
    return {paint.left() / 72.0 * 150.0, paint.top() / 72.0 * 150.0};
}

} // namespace zb::test

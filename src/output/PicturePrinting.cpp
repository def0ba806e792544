#include "output/PicturePrinting.h"

#include <QPrinter>
#include <QSettings>
#include <algorithm>

#include "base/DibCopy.h"
#include "base/RasterView.h"
#include "imaging/ConvertDib.h"
#include "output/PrintSession.h"

namespace zb {

namespace {

int StoredPercent(const QSettings& settings, const char* key) {
    bool ok = false;
    const int value = settings.value(QString::fromLatin1(key), 50).toInt(&ok);
    return ok ? std::clamp(value, kPercentMin, kPercentMax) : 50;
}

} // namespace

void LoadPrintPercents(int& widthPercent, int& heightPercent) {
    const QSettings settings(QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication));
    widthPercent = StoredPercent(settings, kWidthPercentKey);
    heightPercent = StoredPercent(settings, kHeightPercentKey);
}

void SavePrintPercents(int widthPercent, int heightPercent) {
    QSettings settings(QString::fromLatin1(kSettingsOrganisation), QString::fromLatin1(kSettingsApplication));
    settings.setValue(QString::fromLatin1(kWidthPercentKey), std::clamp(widthPercent, kPercentMin, kPercentMax));
    settings.setValue(QString::fromLatin1(kHeightPercentKey), std::clamp(heightPercent, kPercentMin, kPercentMax));
}

std::string PrintPicture(QPrinter& printer, const TDibRecord& picture, const PicturePrintChoice& choice) {
    if (!picture.Bits) return {};
    // The printer takes 24-bit rows; a picture of another depth is printed
    // from a converted copy.
    DibPicture converted;
    const TDibRecord* source = &picture;
    if (DibBitCount(picture) != 24) {
        if (!MakeDIBCopy(picture, converted) || !ConvertDib(converted, 24)) return kCopyMemoryMessage;
        source = &converted.dib();
    }
    PrintSession session(printer);
    std::string message = session.Begin(QString::fromUtf8(kPicturePrintJobTitle));
    if (message.empty()) {
        const PrintablePage& page = session.Page().page;
        const PixelRect r = PicturePrintRect(DibWidth(*source), DibHeight(*source), page.width, page.height, choice);
        message = session.DrawRaster(ViewOf(*source), QRect(r.x, r.y, r.width, r.height));
        if (message.empty()) message = session.End();
        else session.Abort();
    }
    return message;
}

} // namespace zb

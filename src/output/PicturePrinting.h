#pragma once
// Printing one picture on one page of the application's printer, and the two
// percentages of the picture print dialog that persist between runs.
#include <QString>
#include <string>

#include "base/TDibRecord.h"
#include "output/PicturePrintLayout.h"

class QPrinter;

namespace zb {

inline constexpr const char* kPicturePrintJobTitle = "Bildmappe Bild";

// Settings store of the program and the keys of the two percentages.
inline constexpr const char* kSettingsOrganisation = "Zierbogen";
inline constexpr const char* kSettingsApplication = "Zierbogen-Drucker";
inline constexpr const char* kWidthPercentKey = "Bilddruck/BreiteProzent";
inline constexpr const char* kHeightPercentKey = "Bilddruck/HoeheProzent";

// The stored percentages (50 and 50 when none are stored), limited to 1 .. 100.
void LoadPrintPercents(int& widthPercent, int& heightPercent);
void SavePrintPercents(int widthPercent, int heightPercent);

// Prints the whole picture at its rectangle (PicturePrintRect on the
// printable page) on one page, job title "Bildmappe Bild". Returns a German
// message on failure, empty on success. The picture is only read.
std::string PrintPicture(QPrinter& printer, const TDibRecord& picture, const PicturePrintChoice& choice);

} // namespace zb

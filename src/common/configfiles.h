#pragma once
// The two configuration files kept beside the program between runs.
//
// Info_A.ini: 37 lines "value=key" in a fixed order (value first). A value is read as the
// line without as many trailing characters as "=" + key is long; the key text itself is
// never compared, so the order of the lines is what counts.
// Config_A.ini: 18 lines "code=mask", one per sensor configuration code in a fixed order;
// a line's mask is its eleven characters from the seventh on, whatever the code says.
//
// Both files end every line with CR LF and are written through a temporary file that is
// renamed into place, so a crash never leaves half a file. Pure code: QtCore only.

#include <QString>
#include <QStringList>

#include "common/textlines.h"

#include <array>

namespace cfg {

// Saved view orientation as the file holds it: ry, rx, rz, vLeft, vRight, vBottom, vTop.
using SavedOrientation = std::array<double, 7>;

// The values of Info_A.ini. Texts are kept as the controls show them; the defaults are the
// window's own values, which a first run writes.
struct Info {
    int Enum_Com_Ports_prev = 0; // ports in the list at the run that wrote the file
    int Index_COM_Port = -1;     // selected port index, -1 for none
    int Index_K = -1;            // selected entry of cb_K
    int Index_V_Graf = 2;        // selected chart interval
    QString Diapazone = QStringLiteral("10"); // Ed_Limit
    QString Index_TypeInput = QStringLiteral("0"); // "0" continuous, "1" pages
    QString Enum_Page = QStringLiteral("5"); // Edit_Width_Page_Graf
    QString Type_In_WidthLine_ZOND1 = QStringLiteral("0");
    QString Type_In_WidthLine_ZOND2 = QStringLiteral("0");
    QString Type_In_RashTo = QStringLiteral("0");
    SavedOrientation Saved_MAF{0, 0, 0, -1, 1, -1, 1};    // real units (the file holds x100)
    SavedOrientation Saved_Lambda{0, 0, 0, -1, 1, -1, 1};
    QString Enum_YellowPoints = QStringLiteral("12"); // Ed_Num_Yellow_Points
    QString language = QStringLiteral("Rus");
    std::array<QString, 11> colors = initialColorTexts(); // the eleven chart colour buttons
    // Colour texts of the eleven chart series before the user chose others.
    static std::array<QString, 11> initialColorTexts();
};

// The 37 keys in file order.
const QStringList& infoKeys();
// The 37 lines of a file (without line ends). Numbers use the locale's separator.
QStringList infoLines(const Info& info);
// Reads the values from the lines of a file, each line on its own; extra lines are ignored.
// A line that is missing, too short for its key or not a number where one is expected
// keeps the value *info already holds (the control's own); every other line applies. False
// when any line failed, with one message naming the first one.
bool parseInfo(const textlines::Lines& file, Info* info, QString* error);
bool parseInfo(const QStringList& lines, Info* info, QString* error);

// The 18 sensor configuration codes in file order.
const QStringList& sensorCodes();
// Index of a code among them, or -1.
int sensorCodeIndex(const QString& code);

// The chart visibility masks per sensor configuration code.
struct Masks {
    QStringList masks = QStringList(18, QStringLiteral("11111111111"));
    int lastIndex = -1; // code matched at the last disconnect of this run, -1 for none
    // Stores mask under code; an unknown code stores it under the last matched code, or
    // nowhere when there was none. Returns the index used, or -1.
    int store(const QString& code, const QString& mask);
    // The mask stored for code, or current when the code is not one of the 18.
    QString maskFor(const QString& code, const QString& current) const;
};
QStringList configLines(const Masks& m);
// Line by line as parseInfo: a line without eleven mask characters (or missing) keeps its
// code's mask as *m holds it; the others are read. False with one message naming the first
// bad line when any failed.
bool parseConfig(const textlines::Lines& file, Masks* m, QString* error);
bool parseConfig(const QStringList& lines, Masks* m, QString* error);

// Port selection at start: the stored index when the stored count and index are both at
// least 1 and the count is the number of ports found now; otherwise 0. The demo ports stand
// last in the list: a stored demo port is selected again by its place from the end even
// when the number of system ports changed.
int selectPort(int storedCount, int storedIndex, int countNow, int demoPorts);

// Colour texts of the files: a standard name (clRed, clLime, ...) where the colour has one,
// otherwise "$00BBGGRR". rgb is 0xRRGGBB.
QString colorText(unsigned rgb);
// Reads a name, a "$" hex number in 00BBGGRR order or a decimal 00BBGGRR number; false for
// anything else.
bool colorFromText(const QString& text, unsigned* rgb);

// Files: lines without their ends. readFile fails for a missing or unreadable file with the
// system's message; a line too long or a binary file ends the lines there (the fault is in
// *file). readLines gives the lines alone. writeLines writes CR LF after every line, through
// a temporary file renamed into place where the folder allows it.
bool readFile(const QString& path, textlines::Lines* file, QString* error);
bool readLines(const QString& path, QStringList* lines, QString* error);
bool writeLines(const QString& path, const QStringList& lines, QString* error);

} // namespace cfg

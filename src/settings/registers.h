#pragma once
// The module's settings registers: which register holds what, and the codec between the
// stored byte and the value the settings panel shows. Pure code, QtCore only.
//
// Formulas as the module firmware uses them. Int is truncation toward zero, Round is
// round-half-to-even; several are lossy, so a value written and read back may move to a
// neighbouring step (register 15 at 4900 with K = 1 reads back as 5000).

#include <QString>
#include <QStringList>

namespace regs {

// Register numbers (hex) of the numeric settings.
enum class Num {
    K_Fuel = 0x04,      // fuel consumption coefficient, Ed_Other_K_Fuel
    Lambda1Korr = 0x05, // Lambda 1 correction coefficient, Ed_LAMBDA_1_Korr
    DmrvKKorr = 0x0B,   // MAF correction coefficient, Ed_DMRV_K_Korr
    VolEng = 0x0F,      // engine displacement, Ed_Other_VolEng
    PorogKorr = 0x10,   // analog MAF correction threshold, Ed_DMRV_Porog_Korr
    UMax = 0x12,        // maximum offset voltage, Ed_LAMBDA_U_Max
    PointKorr = 0x15,   // point of maximum correction, Ed_Other_Point_Korr
    ZadKorr = 0x17,     // correction switch-on delay, Ed_Other_Zad_Korr
};

// Other registers.
constexpr int Mode = 0x00;       // mode and flags (bits)
constexpr int Sensors = 0x01;    // sensor configuration flags (bits)
constexpr int NumBurn = 0x09;    // number of injectors 1..8
constexpr int StepSmesi = 0x13;  // mixture leanness code
constexpr int KKolenval = 0x14;  // crankshaft speed coefficient K
constexpr int SpadaKorr = 0x18;  // correction decay level 1, 4, 8
constexpr int Unused19 = 0x19;   // read in the chain, not used
constexpr int Learning = 0x1A;   // state of Lambda learning

// The K used by register 15: 1, 2 and 4 stand; 58 and anything above 4 count as 2.
int kPrime(int k);

// Byte to shown value (double precision). k is the crankshaft coefficient (register 15 only).
double decode(Num reg, int byte, int k = 1);
// Shown value to byte, before range checks; k as above. Register 15 at x = 0 gives 0.
int encode(Num reg, double value, int k = 1);
// decode() as the text the panel shows (general format, locale decimal separator).
QString decodeText(Num reg, int byte, int k = 1);

// Mixture leanness: the seven codes and their captions ("15,0:1" .. "18,0:1").
const QList<int>& stepSmesiCodes();
const QStringList& stepSmesiCaptions();
// Caption of a code, or an empty text for a byte that is no code.
QString stepSmesiCaption(int byte);
// Code of a caption, or -1.
int stepSmesiCode(const QString& caption);

// Crankshaft coefficient entries of cb_K: "1", "2", "4" and, added when a module holds it, "58".
const QList<int>& kCodes();

// Bit texts ("0"/"1", index 0..7 = bit 0..7) from a bit text of eight digits bit 7 first.
QStringList bitsFromText(const QString& bits7to0);
// Eight-digit text, bit 7 first, from bit texts indexed by bit.
QString textFromBits(const QStringList& bits);
// The log layout of a register's bits: bits 0,1,2,3, a blank, bits 4,5,6,7.
QString logBits(const QStringList& bits);

} // namespace regs

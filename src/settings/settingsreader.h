#pragma once
// Reading the settings registers after the module identified itself: one step per
// register, each decoding the answer into the settings panel and naming the next read.
// Also the settings state other parts work with: the bits of registers 00 and 01.

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

struct OperationContext;
class SettingsPanel;

class SettingsReader {
public:
    using LogFn = std::function<void(const QString&)>;
    SettingsReader(SettingsPanel* panel, LogFn log);

    // Bits of registers 00 and 01 as last read or set; index 0..7 = bit 0..7, "0"/"1".
    QStringList Bits_EE00;
    QStringList Bits_EE01;
    // Answers handled for "41*" and "81*" in this connection's chain.
    int Retry_Count_K = 0;
    // Crankshaft coefficient as last read from register 14 (-1 digits make it negative).
    int K = 1;

    // The bytes of the registers as this connection read them (register -> byte), kept
    // up to date by the settings writes; the module's history copies are made of them.
    QMap<int, int> Register_Bytes;

    // A new connection: the retries of registers 14 and 18 start again from zero.
    void resetForConnection() {
        Retry_Count_K = 0;
        Register_Bytes.clear();
    }

    // The module identified itself (ctx.module names it): the registers this connection read
    // go into its history as the "read" settings copy.
    void keepReadCopy(const OperationContext& ctx) const;

    // Handles the answer to one register read of the chain; returns the next command
    // text, or an empty text when sent is not a register read of the chain.
    QString step(const QString& sent, const QString& answer);

    // The controls set from bits 2, 6 and 7 of register 00.
    void applyModeBits();
    // The buttons set from every bit of register 01.
    void applySensorBits();

private:
    QString decodeStep(const QString& sent, const QString& answer);

    SettingsPanel* m_panel;
    LogFn m_log;
};

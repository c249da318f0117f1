#pragma once
// Connecting to the module: after the port is open one chain runs under Timer_Read: nine
// identification bytes of the working data, the settings registers (handed to the
// register reader), then the eight characters of the model identifier. The watchdog
// Timer_Stop_Read ends a chain that does not reach the identifier's fifth character in
// time. The host (the main window) provides the interface lock, the status texts and
// model recognition.

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class Exchange;

// One received byte as the two digit values Hex_Digit_Value gave (-1 for a missing or
// invalid digit); later decoders test the digits, not the byte.
struct DigitPair {
    double d1 = -1; // first character: low digit
    double d2 = -1; // second character: high digit
    bool valid() const { return d1 >= 0 && d2 >= 0; }
    int byte() const { return int(16 * d2 + d1); }
};

class ConnectionHost {
public:
    virtual ~ConnectionHost() = default;
    virtual void Btn_BlockClick() = 0;
    virtual void Btn_UnBlockClick() = 0;
    // Panel 0 of StatusBar_Top.
    virtual void setConnectionState(const QString& text) = 0;
    // StatusBar_Top red (failed connection) or back to normal.
    virtual void setConnectionAlarm(bool alarm) = 0;
    virtual void setProgressRange(int maximum) = 0;
    virtual void enableModuleOff() = 0;
    // A settings-register step of the chain: handles the answer to sent ("00*".."31*")
    // and returns the next command text, or an empty text when sent is not one of its
    // commands.
    virtual QString registerStep(const QString& sent, const QString& answer) = 0;
    // Model recognition, once the identifier is complete.
    virtual void btn_WhoIsModuleClick() = 0;
};

class Connection : public QObject {
    Q_OBJECT
public:
    Connection(Exchange* ex, ConnectionHost* host, QObject* parent = nullptr);

    // Identification bytes of the working data.
    DigitPair Byte_74, Byte_75, Byte_40, Byte_41, Byte_42, Byte_4D, Byte_4E, Byte_A5, Byte_A9;
    // The eight characters of the model identifier as read (registers 78..7F).
    std::array<QChar, 8> Model_Chars{};

    QString modelIdentifier() const;
    // First five characters: "TR-70", "TR-90" or anything else.
    QString modelName() const { return modelIdentifier().left(5); }

    // Starts the chain on an open port: Cmd_Pending "47%", Timer_Read and the watchdog on,
    // interface blocked, "Ожидайте подключения".
    void start();

    // The watchdog's handler: the chain did not reach "C7*" in 5 s.
    void Timer_Stop_ReadTimer();

    // Character of the identifier for the two digit values (16 * second + first, modulo
    // 256, read as Latin-1 so that every byte maps to one character).
    static QChar modelChar(const DigitPair& p);

private:
    void gate(const QString& chunk);

    Exchange* m_ex;
    ConnectionHost* m_host;
};

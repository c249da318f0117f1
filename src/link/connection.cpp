#include "link/connection.h"

#include "common/hex.h"
#include "common/messages.h"
#include "link/exchange.h"

#include <QTimer>

namespace {
DigitPair digits(const QString& answer) {
    return {Hex_Digit_Value(charAt(answer, 1)), Hex_Digit_Value(charAt(answer, 2))};
}

// Identifier reads, registers 78..7F, in the order the chain asks for them.
const std::array<QString, 8> kIdItems = {
    QStringLiteral("87*"), QStringLiteral("97*"), QStringLiteral("A7*"), QStringLiteral("B7*"),
    QStringLiteral("C7*"), QStringLiteral("D7*"), QStringLiteral("E7*"), QStringLiteral("F7*"),
};
} // namespace

Connection::Connection(Exchange* ex, ConnectionHost* host, QObject* parent)
    : QObject(parent), m_ex(ex), m_host(host) {
    m_ex->setGate(m_ex->Timer_Read, [this](const QString& chunk) { gate(chunk); });
    connect(m_ex->Timer_Stop_Read, &QTimer::timeout, this, &Connection::Timer_Stop_ReadTimer);
}

QChar Connection::modelChar(const DigitPair& p) {
    const int code = ((int(16 * p.d2 + p.d1) % 256) + 256) % 256;
    return QChar(ushort(code));
}

QString Connection::modelIdentifier() const {
    QString id;
    for (QChar c : Model_Chars) id += c.isNull() ? QChar(u' ') : c;
    return id;
}

void Connection::start() {
    m_ex->start(m_ex->Timer_Read, QStringLiteral("47%"));
    m_ex->Timer_Stop_Read->start();
    m_host->Btn_BlockClick();
    m_host->setConnectionState(msgs().Msg_Wait_Connect);
}

void Connection::Timer_Stop_ReadTimer() {
    m_ex->Timer_Stop_Read->stop();
    m_host->setConnectionState(msgs().Msg_Connect_Failed);
    m_host->setConnectionAlarm(true);
    m_ex->Timer_Read->stop();
    m_host->enableModuleOff();
}

void Connection::gate(const QString& chunk) {
    const QString& sent = m_ex->Cmd_Sent;
    const QString answer = m_ex->answerText(chunk);

    // Identification bytes: each kept as digits, then the next read.
    struct IdStep {
        const char* cmd;
        DigitPair Connection::*slot;
        const char* next;
    };
    static const IdStep idSteps[] = {
        {"47%", &Connection::Byte_74, "57%"}, {"57%", &Connection::Byte_75, "04%"},
        {"04%", &Connection::Byte_40, "14%"}, {"14%", &Connection::Byte_41, "24%"},
        {"24%", &Connection::Byte_42, "D4%"}, {"D4%", &Connection::Byte_4D, "E4%"},
        {"E4%", &Connection::Byte_4E, "5A%"}, {"5A%", &Connection::Byte_A5, "9A%"},
        {"9A%", &Connection::Byte_A9, "00*"},
    };
    for (const IdStep& s : idSteps) {
        if (sent != QLatin1String(s.cmd)) continue;
        m_ex->showSentCommand();
        this->*(s.slot) = digits(answer);
        if (s.slot == &Connection::Byte_74) {
            m_host->setConnectionState(msgs().Msg_Module_On);
            m_ex->resetProgress();
            m_host->setProgressRange(30);
        }
        m_ex->Cmd_Pending = QLatin1String(s.next);
        return;
    }

    for (int i = 0; i < 8; ++i) {
        if (sent != kIdItems[i]) continue;
        m_ex->showSentCommand();
        const DigitPair p = digits(answer);
        if (i < 7) {
            Model_Chars[i] = modelChar(p);
            if (i == 4) {
                m_ex->Timer_Stop_Read->stop();
                m_host->Btn_UnBlockClick();
            }
            m_ex->Cmd_Pending = kIdItems[i + 1];
            return;
        }
        // The last character must be two valid digits; otherwise it is asked again.
        if (!p.valid()) return;
        Model_Chars[7] = modelChar(p);
        m_ex->Timer_Read->stop();
        m_host->Btn_UnBlockClick();
        m_ex->Connect_Done = true;
        m_host->btn_WhoIsModuleClick();
        return;
    }

    const QString next = m_host->registerStep(sent, answer);
    if (!next.isEmpty()) {
        m_ex->showSentCommand();
        m_ex->Cmd_Pending = next;
    }
}

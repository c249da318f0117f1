#include "settings/lambdalearning.h"

#include "common/datetime.h"
#include "common/hex.h"
#include "common/messages.h"
#include "dialogs/confirmations.h"
#include "history/history.h"
#include "link/exchange.h"
#include "link/operationcontext.h"
#include "settings/modehooks.h"
#include "settings/registers.h"
#include "settings/registerwriter.h"
#include "settings/settingshistory.h"
#include "settings/settingspanel.h"
#include "settings/settingsreader.h"

#include <QTimer>
#include <QToolButton>
#include <QVector>

namespace {
const QString kReadMode = QStringLiteral("00*");
const QString kClearLearningState = QStringLiteral("00A1)"); // register 1A := 00
constexpr int kSide = 8;                                        // cells per row of curve 1
} // namespace

LambdaLearning::LambdaLearning(OperationContext* ctx, SettingsPanel* panel, SettingsReader* state,
                               RegisterWriter* writer, const ModeHooks* hooks,
                               TfmPredupr_Lambda_A* startWarning,
                               TfmPredupr_Lambda_A_02* stopWarning, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_panel(panel), m_state(state), m_writer(writer), m_hooks(hooks),
      m_startWarning(startWarning), m_stopWarning(stopWarning) {
    Exchange* ex = m_ctx->ex;
    ex->setGate(ex->Timer_Lambda_Ticher, [this](const QString& chunk) { startGate(chunk); });
    ex->setGate(ex->Timer_Lambda_Ticher_02, [this](const QString& chunk) { stopGate(chunk); });
    ex->setStallEnd(ex->Timer_Lambda_Ticher, [this](StallKind) { return endStalled(true); });
    ex->setStallEnd(ex->Timer_Lambda_Ticher_02, [this](StallKind) { return endStalled(false); });

    // A click toggles the checkable button at once; the warning's answer decides its state,
    // so the click's own toggle is taken back first.
    QToolButton* b = m_panel->ui.atb_Other_TicherEmu;
    connect(b, &QToolButton::clicked, this, [this, b](bool checked) {
        b->setChecked(!checked);
        atb_Other_TicherEmuClick();
    });
}

QString LambdaLearning::eraseItem(int r, int c) {
    const auto digit = [](int i) { return QString::number(8 + i, 16).toUpper(); };
    return QStringLiteral("00") + digit(r) + digit(c) + QLatin1Char(')');
}

void LambdaLearning::atb_Other_TicherEmuClick() {
    // The down state, not the caption, says whether the module learns: the caption is
    // "Off" in English.
    const bool learning = m_panel->learningShown();
    // Without a module nothing can be started or stopped.
    if (!m_ctx->portOpen()) return;
    const bool english = msgs().english();
    if (learning) {
        m_stopWarning->setLanguage(english);
        if (m_ctx->confirm(m_stopWarning))
            stopLearning();
        else
            m_panel->showLearning(true);
    } else {
        m_startWarning->setLanguage(english);
        if (m_ctx->confirm(m_startWarning))
            startLearning();
        else
            m_panel->showLearning(false);
    }
    ModeHooks::call(m_hooks ? m_hooks->redrawCurve : nullptr);
}

void LambdaLearning::startLearning() { beginSwitch(true); }

void LambdaLearning::stopLearning() { beginSwitch(false); }

void LambdaLearning::beginSwitch(bool start) {
    m_panel->showLearning(start);
    ModeHooks::call(m_hooks ? m_hooks->clearCurve : nullptr);
    m_r = 0;
    m_c = 0;
    m_gridRow = 1;
    m_write.clear();
    m_imageChanged = false;
    Exchange* ex = m_ctx->ex;
    QTimer* run = start ? ex->Timer_Lambda_Ticher : ex->Timer_Lambda_Ticher_02;
    QTimer* other = start ? ex->Timer_Lambda_Ticher_02 : ex->Timer_Lambda_Ticher;
    // The start erases its 64 cells one by one; nothing else may take the pending command
    // meanwhile (the end unblocks), and a settings write still waiting loses it now.
    m_ctx->block();
    for (QTimer* t : {ex->Timer_RegRab, ex->Timer_Write, ex->Timer_Emulator, ex->Timer_Optimizator,
                      ex->Timer_MAF_MAP, other})
        t->stop();
    ex->start(run, kReadMode);
    ex->resetProgress();
}

QString LambdaLearning::readModeAnswer(const QString& chunk, const QString& logLine, const QString& bit2) {
    Exchange* ex = m_ctx->ex;
    QStringList& bits = m_state->Bits_EE00;
    // Read once per answer, when its two digits are complete.
    const QString read = receivedDigitsToBits(ex->answerText(chunk).left(2));
    const bool readBefore = !receivedDigitsToBits(ex->receiveBuffer().left(2)).isEmpty();
    if (!read.isEmpty() && !readBefore) {
        QStringList b = regs::bitsFromText(read);
        b[2] = bits.at(2); // the learning bit stays as known until the write is acknowledged
        bits = b;
        m_ctx->log(logLine + nowText());
        m_ctx->log(QStringLiteral("EEPROM-00 = ") + regs::logBits(bits));
    }
    QStringList b = bits;
    b[2] = bit2;
    return bitsToWriteText(regs::textFromBits(b)) + QStringLiteral("00)");
}

void LambdaLearning::startGate(const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    const QString& sent = ex->Cmd_Sent;
    if (sent == kReadMode) {
        ex->showSentCommand();
        m_write = readModeAnswer(chunk, QStringLiteral("ВКЛЮЧЕНО ОБУЧЕНИЕ ЭМУЛЯТОРА ЛЯМБДЫ. ПОЛУЧЕНЫ БИТЫ EEPROM-00 "),
                                 QStringLiteral("1"));
        ex->Cmd_Pending = m_write;
        ex->movedOn();
        return;
    }
    const bool acknowledged = ex->answerText(chunk) == QLatin1String("!");
    if (!m_write.isEmpty() && sent == m_write) {
        ex->showSentCommand();
        if (acknowledged) {
            ex->movedOn();
            // The module learns from now on; a later write of register 00 keeps it so.
            m_state->Bits_EE00[2] = QStringLiteral("1");
            ex->Cmd_Pending = kClearLearningState;
            // Into the settings image; the history copy follows with register 1A.
            m_state->Register_Bytes.insert(0, lowFirstByte(m_write));
            m_imageChanged = true;
        } else {
            ex->refused();
        }
        const QStringList& b = m_state->Bits_EE00;
        m_ctx->log(QStringLiteral("ОТПРАВЛЕНО В МОДУЛЬ НОВОЕ ЗНАЧЕНИЕ EEPROM-00 ") + b.at(0) + b.at(1) +
                   QLatin1Char('1') + b.at(3) + QLatin1Char(' ') + b.at(4) + b.at(5) + b.at(6) + b.at(7));
        return;
    }
    if (sent == kClearLearningState) {
        ex->showSentCommand();
        if (acknowledged) {
            ex->movedOn();
            ex->Cmd_Pending = eraseItem(0, 0);
            m_state->Register_Bytes.insert(0x1A, 0);
            keepSettingsCopy();
        } else {
            ex->refused();
        }
        m_ctx->log(QStringLiteral("ОТПРАВЛЕН В МОДУЛЬ EEPROM-1A = 0"));
        return;
    }
    if (sent != eraseItem(m_r, m_c)) return;
    ex->showSentCommand();
    // Anything but the acknowledgement: the next tick erases the same cell again.
    if (!acknowledged) {
        ex->refused();
        return;
    }
    ex->movedOn();
    m_ctx->log(msgs().Msg_Query + QLatin1Char(' ') + sent + QLatin1Char(' ') + ex->answerText(chunk));
    ModeHooks::call(m_hooks ? m_hooks->setCurvePoint : nullptr, m_gridRow, QStringLiteral("0"));
    ++m_gridRow;
    if (m_c < kSide - 1) {
        ++m_c;
    } else {
        m_c = 0;
        if (m_r == kSide - 1) {
            finish(ex->Timer_Lambda_Ticher, true);
            keepErasedCopy(m_gridRow - 1);
            return;
        }
        ++m_r;
    }
    ex->Cmd_Pending = eraseItem(m_r, m_c);
}

void LambdaLearning::stopGate(const QString& chunk) {
    Exchange* ex = m_ctx->ex;
    if (ex->Cmd_Sent == kReadMode) {
        ex->showSentCommand();
        m_write = readModeAnswer(
            chunk, QStringLiteral("ПОЛУЧЕНИЕ ТАБЛИЦЫ ЛЯМБДЫ ПОСЛЕ ОБУЧЕНИЕ ЭМУЛЯТОРА. ПОЛУЧЕНЫ БИТЫ EEPROM-00 "),
            QStringLiteral("0"));
        ex->Cmd_Pending = m_write;
        ex->movedOn();
        return;
    }
    if (m_write.isEmpty() || ex->Cmd_Sent != m_write) return;
    ex->showSentCommand();
    if (ex->answerText(chunk) != QLatin1String("!")) {
        ex->refused();
        return;
    }
    ex->movedOn();
    m_state->Bits_EE00[2] = QStringLiteral("0");
    finish(ex->Timer_Lambda_Ticher_02, false);
    m_writer->keepWrittenCopy(0, lowFirstByte(m_write));
}

void LambdaLearning::finish(QTimer* timer, bool learningOn) {
    timer->stop();
    m_panel->showLearning(learningOn);
    m_ctx->unblock();
    if (learningOn) m_ctx->ex->resetProgress();
    // A settings write asked for while the learning ran goes out now.
    m_writer->resumeWrites();
}

void LambdaLearning::abortForConnection() {
    Exchange* ex = m_ctx->ex;
    ex->Timer_Lambda_Ticher->stop();
    ex->Timer_Lambda_Ticher_02->stop();
}

// --- the module stops answering ----------------------------------------------------

StallReport LambdaLearning::endStalled(bool start) {
    Exchange* ex = m_ctx->ex;
    QTimer* timer = start ? ex->Timer_Lambda_Ticher : ex->Timer_Lambda_Ticher_02;
    timer->stop();
    // The button shows what the module does as far as the tool knows: the learning bit
    // changes only with an acknowledged write of register 00.
    m_panel->showLearning(m_state->Bits_EE00.at(2) == QLatin1String("1"));
    m_ctx->unblock();
    ex->resetProgress();
    // A write held for the end would meet the same module.
    m_writer->forgetHeldWrite();
    if (start) {
        // Register 00 taken without register 1A: the image as the module holds it.
        if (m_imageChanged) keepSettingsCopy();
        keepErasedCopy(m_gridRow - 1);
    }
    StallReport r;
    r.key = start ? QStringLiteral("learningStart") : QStringLiteral("learningStop");
    return r;
}

void LambdaLearning::keepSettingsCopy() {
    m_imageChanged = false;
    settingshistory::keep(*m_ctx, m_state->Register_Bytes, true);
}

void LambdaLearning::keepErasedCopy(int erased) {
    // Nothing erased: curve 1 is as it was.
    if (erased <= 0) return;
    // Curve 1 in the table file format: the erased points 0, the rest (not reached) empty.
    // The erase walks the cells column digit fastest, the points run with the row digit
    // fastest: cell (r, c) is point c * 8 + r + 1.
    QVector<bool> zero(kSide * kSide, false);
    for (int k = 0; k < erased && k < kSide * kSide; ++k) zero[(k % kSide) * kSide + k / kSide] = true;
    QByteArray bytes;
    for (bool z : zero) bytes += (z ? "0" : "") + QByteArray("\r\n");
    const auto direction = erased >= kSide * kSide ? history::Direction::Written : history::Direction::WrittenPartial;
    history::keepHere(m_ctx->module.identifier, TableKind::Curve1, direction, bytes, msgs().english(), m_ctx->error);
}

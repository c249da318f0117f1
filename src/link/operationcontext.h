#pragma once
// What every command family's controller shares with the window: the exchange, the
// protocol log, the interface lock and the ways to speak to the user. The main window
// fills one instance at construction and hands a pointer to each controller; tests replace
// the dialog hooks to answer confirmations and file dialogs without a nested loop of
// their own.

#include "common/datetime.h"
#include "common/tablekind.h"

#include <QString>

#include <functional>
#include <optional>

class Exchange;
class QDialog;
class QWidget;

// What the window knows of the connected module; read by several command families.
struct ModuleFacts {
    // First five characters of the identifier ("TR-70", "TR-90"; anything else has no
    // profile); empty until a module identified itself.
    QString model;
    // The whole identifier as the module gave it (eight characters); empty until then.
    QString identifier;
    // Lambda sensor types, "Циркониевый" or "Широкополосный" (the hidden edits of the
    // window), set from the identification bytes A5/A9 by the mode view or the TR-90 profile.
    QString Ed_Type_Datchik_1_RU;
    QString Ed_Type_Datchik_2_RU;
    // The fuel calibration value (working bytes 75 and 74 as one word), computed by the
    // model profile after identification and again by the first recording tick after Start.
    double K_RashTopl = 0;
};

struct OperationContext {
    Exchange* ex = nullptr;
    ModuleFacts module;

    // One line into the protocol log, exactly as given.
    std::function<void(const QString&)> log;
    // Btn_Block / Btn_UnBlock: the fixed set of controls of module operations.
    std::function<void()> block;
    std::function<void()> unblock;
    // Whether the port is open (a module may answer).
    std::function<bool()> portOpen;

    // An error in a box that does not stop timers or receive events.
    std::function<void(const QString&)> error;
    // Shows a modal window and tells whether it was accepted (OK).
    std::function<bool(QDialog*)> confirm;
    // File dialogs: the chosen path, or an empty text when the user cancelled. filter is
    // in Qt's form ("Данные MAF (*MAF.txt)"); the save dialog asks before overwriting. An
    // open dialog for a file of a table kind (copiesOf) also offers the module's history
    // copies of that kind; files of no kind (recordings) give none.
    std::function<QString(const QString& caption, const QString& filter, std::optional<TableKind> copiesOf)>
        openFileName;
    std::function<QString(const QString& caption, const QString& filter)> saveFileName;

    // Parent for dialogs and message boxes.
    QWidget* window = nullptr;

    // A user action in the log: date and time, then the text (which starts with a blank).
    void logAction(const QString& text) const { log(nowText() + text); }
};

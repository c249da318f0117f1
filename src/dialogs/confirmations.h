#pragma once
// The small modal warnings and confirmations. Each is a window of its own class with a
// message label `Label1`, the button `atb_OK` and, where the user may back out,
// `atb_Cancel`. They are built once, at startup, and shown with exec() when needed; the
// caller acts on the result.
//
// Results of exec() (Escape and the window's close button count as cancel, so that nothing
// irreversible happens unless OK was pressed):
//
//   TfmPredupr0A          before writing the MAF table into the module
//                         Accepted: atb_OK, start the write
//                         Rejected: atb_Cancel / Escape, redraw the surface only
//   TfmPredupr0B          before writing the Lambda table into the module
//                         Accepted: atb_OK, start the write
//                         Rejected: atb_Cancel / Escape, redraw the surface only
//   TfmPredupr0C          crankshaft coefficient was changed to fit the mode; information only
//                         Accepted: atb_OK; Rejected: Escape / close. Both just go on.
//   TfmPredupr0D          no crankshaft coefficient chosen; information only
//                         Accepted: atb_OK; Rejected: Escape / close. Both just go on.
//   TfmPredupr0E          before using the crankshaft sensor input
//                         Accepted: atb_OK, switch to the crankshaft sensor and write
//                         Rejected: atb_Cancel / Escape / close, set "Нет" down, nothing written
//   TfmPredupr_Lambda_A   before starting Lambda learning (erases emulation curve 1)
//                         Accepted: atb_OK, start learning
//                         Rejected: atb_Cancel / Escape, learning stays off
//   TfmPredupr_Lambda_A_02 before stopping Lambda learning
//                         Accepted: atb_OK, stop learning
//                         Rejected: atb_Cancel / Escape, learning stays on
//
// Every window opens with its Russian texts; setLanguage() switches all of them (caption,
// message, buttons). Where a window has atb_Cancel, Cancel is the default button, so that a
// stray Enter does not start a write or an erase.

#include "dialogs/dialogtext.h"

#include <QDialog>
#include <QStyle>

class QLabel;
class QPushButton;

// The texts and look of one confirmation window.
struct ConfirmationTexts {
    TextPair caption;
    TextPair message;
    TextPair ok;
    TextPair cancel; // empty in both languages: the window has no atb_Cancel
    QStyle::StandardPixmap icon = QStyle::SP_MessageBoxWarning;
    Qt::WindowFlags frame = Qt::Dialog; // window kind and title-bar buttons
};

// Shared body of the confirmation windows: icon, message, buttons, centred on the screen
// each time it is shown.
class ConfirmationDialog : public QDialog {
    Q_OBJECT
  public:
    struct Controls {
        QLabel* iconLabel = nullptr;
        QLabel* Label1 = nullptr;
        QPushButton* atb_OK = nullptr;
        QPushButton* atb_Cancel = nullptr; // nullptr for information-only windows
    } ui;

    const ConfirmationTexts& texts() const { return m_texts; }

  public slots:
    // Caption, message and button texts in the chosen language (Russian when false).
    void setLanguage(bool english);

  protected:
    ConfirmationDialog(const ConfirmationTexts& texts, const char* objectName, QWidget* parent);
    void showEvent(QShowEvent* event) override;

  private:
    const ConfirmationTexts& m_texts;
};

class TfmPredupr0A : public ConfirmationDialog {
    Q_OBJECT
  public:
    explicit TfmPredupr0A(QWidget* parent = nullptr);
};

class TfmPredupr0B : public ConfirmationDialog {
    Q_OBJECT
  public:
    explicit TfmPredupr0B(QWidget* parent = nullptr);
};

class TfmPredupr0C : public ConfirmationDialog {
    Q_OBJECT
  public:
    explicit TfmPredupr0C(QWidget* parent = nullptr);
};

class TfmPredupr0D : public ConfirmationDialog {
    Q_OBJECT
  public:
    explicit TfmPredupr0D(QWidget* parent = nullptr);
};

class TfmPredupr0E : public ConfirmationDialog {
    Q_OBJECT
  public:
    explicit TfmPredupr0E(QWidget* parent = nullptr);
};

class TfmPredupr_Lambda_A : public ConfirmationDialog {
    Q_OBJECT
  public:
    explicit TfmPredupr_Lambda_A(QWidget* parent = nullptr);
};

class TfmPredupr_Lambda_A_02 : public ConfirmationDialog {
    Q_OBJECT
  public:
    explicit TfmPredupr_Lambda_A_02(QWidget* parent = nullptr);
};

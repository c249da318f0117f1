#pragma once
// The small dialog the block operations ask their value with: a value to set, a value to
// add, or a percentage to scale by. Tests answer through the editors' askValue hook.

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

enum class ValueQuestion { Set, Add, Scale };
// Returns false when the user cancelled; *value holds the answer otherwise.
using AskValue = std::function<bool(ValueQuestion question, double* value)>;

class ValueDialog : public QDialog {
    Q_OBJECT
  public:
    ValueDialog(ValueQuestion question, bool english, QWidget* parent = nullptr);
    // The typed number; false while the text is not one.
    bool value(double* out) const;
    QLineEdit* edit() const { return m_edit; }

    // Shows the dialog modally over parent.
    static bool ask(QWidget* parent, ValueQuestion question, double* value);

  private:
    QLineEdit* m_edit;
    QPushButton* m_ok;
};

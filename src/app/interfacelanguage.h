#pragma once
// The language switch of the whole window: the flags, every text of the interface table,
// the captions that follow a button's state, the message texts, the curve grids' column
// headings, the modal windows and the window caption, in that order. The controls are
// found by name under the window, so a panel that is rebuilt keeps its texts as long as it
// keeps its names; a name that is not found is reported, never skipped silently.

#include "common/uitexts.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>

class NamedObjects;
class QWidget;

class InterfaceLanguage : public QObject {
    Q_OBJECT
  public:
    // window: the main window, parent of every panel and modal window. Gives its charts
    // the axis-title adapters the table writes through.
    explicit InterfaceLanguage(QWidget* window);

    // Switches the whole interface (atbRusClick / atbEngClick). Returns one line per text
    // that found no control or property (also written as a warning); empty when all held.
    QStringList apply(uitexts::Lang lang);

    // Writes the state-dependent captions in the current language, for an owner that has
    // just changed a state and wants the caption of the language in force.
    void applyStateCaptions();

    // Texts of the modal windows in the given language (each window's own pairs).
    void applyToDialogs(uitexts::Lang lang);

    // Where a state caption's "down" comes from when it is not its button's down state.
    void setStateSource(const QString& object, std::function<bool()> down);

  private:
    void showFlag(uitexts::Lang lang);
    QStringList writeStateCaptions(const NamedObjects& named, uitexts::Lang lang);
    QStringList writeColumnHeadings();

    QWidget* m_window;
    QHash<QString, std::function<bool()>> m_stateSources;
};

#pragma once
// The interface texts in both languages: one table of (control, property, Russian, English),
// in the order the language switch writes them, and the captions that depend on a button's
// state. The window's language switch applies the whole table; a panel may apply only its
// own part (entriesFor) from its own retranslate. Adding a text is adding one row here.
//
// The Russian column is the text the control starts with, so applying Russian to a fresh
// window changes nothing. Where a control keeps its Russian text in English, both columns
// hold the same Russian text on purpose.

#include <QList>
#include <QString>
#include <QStringList>

class QObject;
class NamedObjects;

namespace uitexts {

enum class Lang { Russian, English };

// Who owns the control: the window frame (tool bar, panel buttons, pop-ups) or one of its
// work panels. The second curve panel's controls carry their own names, hence two curves.
enum class Panel { Window, Protocol, Settings, Params, Chart, Table3D, Curve1, Curve2, Caption };

struct Entry {
    Panel panel;
    const char* object;   // object name
    const char* property; // a Qt property of the control: text, toolTip, title, placeholderText,
                          // windowTitle; for charts leftAxisTitle, bottomAxisTitle, rightAxisTitle
    QString ru;
    QString en;
    // The control's start-up text, which run-time code later replaces with a text of its own
    // (for example a sensor caption from a message text). Such an entry is written only while
    // the control still shows one of its two texts, so the switch never undoes that code's work.
    bool initialOnly = false;

    const QString& text(Lang lang) const { return lang == Lang::English ? en : ru; }
    bool keptRussian() const { return ru == en; }
};

// A caption that follows a checkable button's state (down or up) in either language.
struct StateCaption {
    Panel panel;
    const char* object;      // the control whose text is written
    const char* stateObject; // the checkable button whose down state selects the text
    QString ruDown, enDown, ruUp, enUp;

    const QString& text(bool down, Lang lang) const {
        if (lang == Lang::English) return down ? enDown : enUp;
        return down ? ruDown : ruUp;
    }
};

// The whole table, in the order the switch writes it.
const QList<Entry>& entries();
// The entries of one panel, in table order.
QList<Entry> entriesFor(Panel panel);
// The state-dependent captions, in the order the switch writes them.
const QList<StateCaption>& stateCaptions();

// The state caption of object for the given state and language; an empty string for an
// object without a state caption. Owners of those buttons use it to write the caption
// again after they change the state.
QString stateCaption(const QString& object, bool down, Lang lang);

// The texts of the context actions that several grids carry under one object name (the
// editing menus of the table grid and of both curve grids): their owners write them in the
// language in force when a menu opens. grid is Panel::Table3D for the table grid and
// Panel::Curve1 for either curve grid.
struct ActionText {
    Panel grid;
    const char* object;
    QString ru, en;
};
const QList<ActionText>& gridActionTexts();
// The text of a grid's action in the language; an empty text for an action without one.
QString gridActionText(Panel grid, const QString& object, Lang lang);

// The language recorded by the last switch (Russian before any switch).
Lang currentLang();

// --- An operation the module left without an answer or kept refusing ---
// The names of the operations the answer watch ends, the counts of what went through and
// the status and log texts built from them. A text may hold %1, %2 for its arguments.
struct OperationText {
    const char* key;
    QString ru, en;
};
const QList<OperationText>& operationTexts();
// The text of key in the language with its arguments filled in; empty for an unknown key.
QString operationText(const QString& key, Lang lang, const QStringList& args = {});

// Writes the entries under root (root itself included when it carries the name) and returns
// one line per entry that could not be written: no such object, or no such property on it
// (nor on a property adapter, a direct child that declares the property). Nothing is
// created; an unknown name is reported, never a crash.
QStringList apply(QObject* root, const QList<Entry>& list, Lang lang);
// The same with the objects under root already indexed (one walk for several lists).
QStringList apply(QObject* root, const NamedObjects& below, const QList<Entry>& list, Lang lang);

} // namespace uitexts

#include "app/interfacelanguage.h"

#include "app/chartaxistitles.h"
#include "common/messages.h"
#include "common/namedobjects.h"

#include <QDialog>
#include <QMetaObject>
#include <QWidget>
#include <QtDebug>

using uitexts::Lang;

InterfaceLanguage::InterfaceLanguage(QWidget* window) : QObject(window), m_window(window) {
    setObjectName(QStringLiteral("InterfaceLanguage"));
    ChartAxisTitles::attachAll(window);
}

void InterfaceLanguage::setStateSource(const QString& object, std::function<bool()> down) {
    m_stateSources.insert(object, std::move(down));
}

QStringList InterfaceLanguage::apply(Lang lang) {
    // 1. The flag of the language, the pop-up closed, the language recorded.
    showFlag(lang);
    msgs().Lang_Code = lang == Lang::English ? QStringLiteral("Eng") : QStringLiteral("Rus");

    // 2. The controls' captions, hints and axis titles, in table order.
    QList<uitexts::Entry> controls;
    QList<uitexts::Entry> caption;
    for (const uitexts::Entry& e : uitexts::entries())
        (e.panel == uitexts::Panel::Caption ? caption : controls) << e;
    // The controls are looked up in one walk of the window for the whole switch.
    const NamedObjects named(m_window);
    QStringList faults = uitexts::apply(m_window, named, controls, lang);

    // 3. The captions that follow a button's state.
    faults += writeStateCaptions(named, lang);

    // 4. The message texts that handlers put into status panels, hints and labels.
    if (lang == Lang::English)
        msgs().setEnglish();
    else
        msgs().setRussian();

    // 5. The column headings of both curve grids come from the message texts.
    faults += writeColumnHeadings();

    // The modal windows are hidden now; each shows its texts in this language when opened.
    applyToDialogs(lang);

    // 6. The window caption: this also replaces a model caption.
    faults += uitexts::apply(m_window, named, caption, lang);

    for (const QString& f : faults)
        qWarning("interface language: %s", qPrintable(f));
    return faults;
}

void InterfaceLanguage::showFlag(Lang lang) {
    auto* rus = m_window->findChild<QWidget*>(QStringLiteral("atb_Flag_Rus"));
    auto* eng = m_window->findChild<QWidget*>(QStringLiteral("atb_Flag_Eng"));
    QWidget* shown = lang == Lang::English ? eng : rus;
    QWidget* hidden = lang == Lang::English ? rus : eng;
    if (hidden) hidden->setVisible(false);
    if (shown) {
        shown->setVisible(true);
        shown->raise();
    }
    if (auto* popup = m_window->findChild<QWidget*>(QStringLiteral("pnl_Language"))) popup->hide();
}

void InterfaceLanguage::applyStateCaptions() {
    writeStateCaptions(NamedObjects(m_window), uitexts::currentLang());
}

QStringList InterfaceLanguage::writeStateCaptions(const NamedObjects& named, Lang lang) {
    QStringList faults;
    for (const uitexts::StateCaption& s : uitexts::stateCaptions()) {
        const QString name = QString::fromLatin1(s.object);
        QObject* target = named.child(name);
        QObject* state = named.child(QString::fromLatin1(s.stateObject));
        if (!target || !state) {
            faults << QStringLiteral("%1: no such control (state caption)")
                          .arg(target ? QString::fromLatin1(s.stateObject) : name);
            continue;
        }
        const auto source = m_stateSources.constFind(name);
        const bool down =
            source != m_stateSources.constEnd() ? (*source)() : state->property("checked").toBool();
        target->setProperty("text", s.text(down, lang));
    }
    return faults;
}

QStringList InterfaceLanguage::writeColumnHeadings() {
    const struct {
        const char* name;
        const QString& text;
    } headings[] = {
        {"atb_sgrid_Emu_Cap_Left", msgs().Msg_Emu_Cap_Left},
        {"atb_sgrid_Emu_Cap_Right", msgs().Msg_Emu_Cap_Right},
        {"atb_sgrid_Emu_Cap_Left_2", msgs().Msg_Emu_Cap_Left},
        {"atb_sgrid_Emu_Cap_Right_2", msgs().Msg_Emu_Cap_Right},
    };
    QStringList faults;
    for (const auto& h : headings) {
        QObject* o = m_window->findChild<QObject*>(QString::fromLatin1(h.name));
        if (!o) {
            faults << QStringLiteral("%1: no such control (column heading)")
                          .arg(QString::fromLatin1(h.name));
            continue;
        }
        o->setProperty("text", h.text);
    }
    return faults;
}

void InterfaceLanguage::applyToDialogs(Lang lang) {
    // Every modal window of the window keeps its own pairs of texts behind setLanguage(bool).
    const QList<QDialog*> dialogs =
        m_window->findChildren<QDialog*>(QString(), Qt::FindDirectChildrenOnly);
    for (QDialog* d : dialogs) {
        if (d->metaObject()->indexOfMethod("setLanguage(bool)") < 0) continue;
        QMetaObject::invokeMethod(d, "setLanguage", Q_ARG(bool, lang == Lang::English));
    }
}
